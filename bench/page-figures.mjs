#!/usr/bin/env node
// The page's figures that scripts/measure.sh prints, from runs of the page driver (tests/app/page.mjs):
//   node bench/page-figures.mjs WEB_DIR figures|figures-largest
// the time from opening the page to its start-up question, from the answer to the first frame (the
// page's TORVEL_TIMING lines) and the frame rate with the pacing off, at 640 x 480 and at the
// largest size the page draws.
import { main, Run } from '../tests/app/page.mjs';

const ROWS = `
figures          TORVEL_TIMING=1&TORVEL_FRAME_PACING=0&frames=1000&size=640x480   asked; answer No; held 1000; figures
figures-largest  TORVEL_TIMING=1&TORVEL_FRAME_PACING=0&frames=200&size=1920x1200  asked; answer No; held 200; figures 200
`;

class Figures extends Run {
  async asked() {
    // The page's own clock starts when it is opened.
    await this.question();
    this.askedAfter = Math.round(await this.evaluate(() => performance.now()));
  }

  figures(last = 1000) {
    const seen = pattern => Number(this.console('warn').map(line => pattern.exec(line)?.[1]).findLast(Boolean));
    const first = seen(/^First frame presented .*, ([0-9.]+) ms after the last answer/);
    const after = frames => seen(RegExp(`^${frames} frames presented after ([0-9.]+) s`));
    const fps = (last - 100) / (after(last) - after(100));
    console.log(`page opened to question: ${this.askedAfter} ms (polled every 0.1 s)`);
    console.log(`answer to first frame: ${Math.round(first)} ms`);
    console.log(`frames 100 to ${last}, pacing off: ${fps.toFixed(1)} fps`);
  }
}

process.exitCode = await main(ROWS, Figures);
