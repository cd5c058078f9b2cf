#!/usr/bin/env node
// The page in a browser driven through puppeteer-core (build-web.sh installs it), one run per row of page.runs:
//   node page.mjs [--browser firefox] WEB_DIR RUN [DESKTOP_BIN_DIR]
// WEB_DIR holds the built page; DESKTOP_BIN_DIR the desktop build's torvel-shot for the picture
// comparison. The page is served on 127.0.0.1 only. The console, the page's status line and its
// exceptions are read as the desktop driver reads stdout, stderr and the exit status; no row may
// raise a page error or log a console error. Pictures stay in WEB_DIR/../page-pictures/.
// Chromium runs headless; Firefox ESR headed on a private Xvfb, as its headless mode has no WebGL.
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import { createRequire } from 'node:module';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

// Steps that prepare the page or the browser before the page opens.
const BEFORE_LOADING = ['break_picture', 'recording', 'no_audio', 'window', 'reads', 'loading'];
// The page's on-screen controls, by their names; A+B: two held together.
const CONTROL = /^(Forward|Back|Turn left|Turn right|Faster|Slower|Camera|Sound|Fullscreen|End)(\+|$)/;
const button = name => `::-p-aria([name="${name}"][role="button"])`;
// The legacy-GL emulation's own one-time notices; anything else on the console's error level fails.
const KNOWN = /^(WebGL: INVALID_ENUM: (enable|disable|getParameter)|GL_INVALID_ENUM)/;
const HERE = path.dirname(fileURLToPath(import.meta.url));

class Failure extends Error {}
const sleep = seconds => new Promise(done => setTimeout(done, seconds * 1000));
async function poll(seconds, check) {
  for (const end = Date.now() + seconds * 1000; ; await sleep(0.1)) {
    const value = await check();
    if (value || Date.now() > end) return value;
  }
}
async function until(seconds, check, message) {
  if (!(await poll(seconds, check))) throw new Failure(typeof message === 'function' ? await message() : message);
}
function magick(tool, ...args) {
  const run = spawnSync(tool, args, { encoding: 'utf8' });
  if (run.error || (tool === 'convert' && run.status)) throw new Failure(`${tool} ${args}: ${run.stderr}`);
  return run;
}
function converted(file, suffix, ...operations) {
  magick('convert', file, ...operations, file + suffix);
  return file + suffix;
}
function difference(a, b, size = '160x120!') {
  const small = [a, b].map(file => converted(file, '.small.png', '-resize', size));
  const found = /\(([0-9.e-]+)\)/.exec(magick('compare', '-metric', 'MAE', ...small, 'null:').stderr);
  if (!found) throw new Failure('compare failed');
  return Number(found[1]);
}

function serve(directory) {
  const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };
  const server = http.createServer((request, response) => {
    const file = path.join(directory, decodeURIComponent(new URL(request.url, 'http://127.0.0.1').pathname));
    fs.readFile(file.startsWith(directory + path.sep) ? file : '', (error, body) => {
      const type = types[path.extname(file)] ?? 'application/octet-stream';
      // The .wasm without its length, as a server compressing on the fly sends it: the page must not guess one.
      const length = file.endsWith('.wasm') ? {} : { 'Content-Length': body?.length ?? 0 };
      response.writeHead(error ? 404 : 200, { 'Content-Type': type, ...length });
      response.end(error ? '' : body);
    });
  });
  return new Promise(listening => server.listen(0, '127.0.0.1', () => listening(server)));
}

async function launch(browser, work) {
  let puppeteer;
  try {
    puppeteer = createRequire(path.join(HERE, '../../build/page-driver/'))('puppeteer-core');
  } catch {
    throw new Failure('no puppeteer-core in build/page-driver: bash scripts/build-web.sh installs it');
  }
  if (browser === 'chromium')
    return puppeteer.launch({
      executablePath: '/usr/lib/chromium/chromium', pipe: true, defaultViewport: null, ignoreDefaultArgs: true,
      args: ['--headless', '--no-sandbox', '--enable-unsafe-swiftshader', '--disable-background-networking',
        '--disable-component-update', '--disable-sync', '--no-first-run', `--user-data-dir=${work}/profile`,
        // Room for the heading and the whole 640 x 480 canvas: a screenshot holds only what is in view.
        '--window-size=1024,768',
        'about:blank']
    });
  // A private X server, as e2e.sh starts one.
  const xvfb = spawn('Xvfb', ['-displayfd', '3', '-screen', '0', '1280x1024x24', '-nolisten', 'tcp', '-noreset'],
    { stdio: ['ignore', 'ignore', 'ignore', 'pipe'] });
  const env = { ...process.env, DISPLAY: await new Promise((started, failed) => {
    xvfb.stdio[3].once('data', data => started(':' + String(data).trim()));
    xvfb.once('exit', () => failed(new Failure('Xvfb did not start')));
  }) };
  try {
    const firefox = await puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
      headless: false, defaultViewport: null, userDataDir: work + '/profile', env });
    firefox.on('disconnected', () => xvfb.kill());
    // With no window manager no window has the focus, and Firefox grants fullscreen to a focused
    // one only: a click on the blank page before the page opens gives it, as a person's does.
    spawnSync('xdotool', ['mousemove', '300', '300', 'click', '1'], { env });
    await sleep(0.5);
    return firefox;
  } catch (error) {
    xvfb.kill();
    throw error;
  }
}

export class Run {
  constructor(name, web, desktop, work) {
    Object.assign(this, { name, web, work, desktop: desktop && path.resolve(desktop), messages: [], shots: 0 });
    this.pictures = path.join(path.dirname(path.resolve(web)), 'page-pictures');
    fs.mkdirSync(this.pictures, { recursive: true });
  }

  // --- what the page printed: stdout reaches the console as log lines, stderr as warnings ---
  console(type) {
    return this.messages.filter(m => m.type === type).map(m => m.text);
  }

  lines(stream, pattern, least, most) {
    const count = this.console(stream === 'out' ? 'log' : 'warn').filter(line => RegExp(pattern).test(line)).length;
    if (count < least || count > most)
      throw new Failure(`${count} lines of std${stream} match ${pattern}, not ${least} to ${most}`);
  }

  evaluate(...script) {
    return this.page.evaluate(...script);
  }

  // --- input ---
  async key(name, seconds = 0.1) {
    if (CONTROL.test(name)) return this.tap(name, seconds);
    await this.page.keyboard.down(name);
    await sleep(seconds);
    await this.page.keyboard.up(name);
    await sleep(0.3);
  }

  async tap(names, seconds = 0.1) {
    // Hidden controls are shown by their switch first. 0 s: a tap shorter than a frame, down and up in one
    // turn of the page; otherwise a finger on each at once (a phone) or the mouse, held for the time.
    if (await this.evaluate(() => controls.box.hidden)) await this.page.click('#controls-switch');
    const buttons = await Promise.all(names.split('+').map(name => this.page.$(button(name))));
    if (Number(seconds) === 0)
      return buttons[0].evaluate(b => (b.hasAttribute('data-held') ? ['pointerdown', 'pointerup'] : ['click'])
        .forEach(type => b.dispatchEvent(new PointerEvent(type, { bubbles: true }))));
    const points = await Promise.all(buttons.map(b => b.clickablePoint()));
    const { mouse } = this.page, touch = (type, touchPoints) => this.cdp.send('Input.dispatchTouchEvent',
      { type, touchPoints });
    await (this.touch ? touch('touchStart', points) : mouse.move(points[0].x, points[0].y).then(() => mouse.down()));
    await sleep(seconds);
    await (this.touch ? touch('touchEnd', []) : mouse.up());
    await sleep(0.3);
  }

  async usable(wanted, ...names) {
    for (const name of names)
      if (String(await this.page.$eval(button(name), b => b.ariaDisabled !== 'true')) !== wanted)
        throw new Failure(`the control ${name} is not ${wanted === 'true' ? '' : 'un'}usable`);
  }

  async question() {
    // The start-up question, as the desktop program asks it, with the loading indicator gone.
    const asked = () => this.evaluate(() => !document.getElementById('dialog')?.hidden &&
      ['caption', 'text'].map(part => document.getElementById('dialog-' + part).textContent).join(' / ') +
      (document.getElementById('loading').checkVisibility() ? ' over the loading indicator' : ''));
    await until(20, async () => (await asked()) === 'Start FullScreen? / Would You Like To Run In Fullscreen Mode?',
      async () => `no start-up question on the page (${await asked()})`);
  }

  async answer(label) {
    const found = await this.page.waitForSelector(`::-p-xpath(//*[@id="dialog-buttons"]/button[.="${label}"])`,
      { visible: true, timeout: 20000 }).catch(() => null);
    if (!found) throw new Failure(`no dialog with a ${label} button`);
    await found.click();
  }

  // --- pictures ---
  async shot(label) {
    const file = path.join(this.pictures, `${this.name}-${++this.shots}-${label}.png`);
    const clip = await this.evaluate(() => {
      const r = canvas.getBoundingClientRect();
      return !document.fullscreenElement && { x: r.x + scrollX, y: r.y + scrollY, width: r.width, height: r.height };
    });
    // Only what is in view: capturing beyond it lays the page out again without its scroll bar,
    // and the centred canvas moves.
    await this.page.screenshot({ path: file, clip: clip || undefined, captureBeyondViewport: false });
    return file;
  }

  async alike(before, label, most, message) {
    if (difference(before, await this.shot(label)) > most) throw new Failure(message);
  }

  async drawn() {
    // Drawn: the picture has the sky colour the frame clears to and more than one colour.
    const colours = async () => magick('convert', await this.shot('drawn'), '-format', '%k', 'info:').stdout;
    await until(30, async () => (await colours()) > 50, 'the scene was not drawn');
  }

  async moving() {
    const first = await this.shot('before');
    await sleep(1);
    if (difference(first, await this.shot('after')) < 0.002) throw new Failure('the scene does not move');
  }

  async still(slower = 'NumpadSubtract', camera = 'F2') {
    // A picture that stands still: time step 0 (keypad minus six times), the camera following
    // ball 0 (F2), and time for the explosions to fade.
    for (let i = 0; i < 6; i++) await this.key(slower);
    await this.key(camera);
    await sleep(2.5);
  }

  async steady(names, seconds = 1) {
    // Nothing moves for the time, with the controls given held together (two that undo each other).
    const before = await this.shot('steady');
    await (names ? this.key(names, seconds) : sleep(seconds));
    await this.alike(before, 'still-steady', 0.002, `the picture moved${names ? ' with ' + names + ' held' : ''}`);
  }

  async changes(name, hold = 0.4) {
    // The key's change must stand out of what the same time changes without it.
    const first = await this.shot('drift-' + name);
    await sleep(Number(hold) + 0.3);
    const before = await this.shot('before-' + name);
    await this.key(name, hold);
    const drift = difference(first, before), change = difference(before, await this.shot('after-' + name));
    console.log(`${name} changed the picture by ${change.toFixed(4)}, the same time without it by ${drift.toFixed(4)}`);
    if (change < 2 * drift + 0.005)
      throw new Failure(`${name} did not change the picture (${change}, ${drift} without it)`);
  }

  async cancelled(...names) {
    await this.evaluate(() => addEventListener('keydown', e => ((window.seen ??= {})[e.code] = e.defaultPrevented)));
    for (const name of names) await this.key(name);
    const seen = await this.evaluate(() => window.seen ?? {});
    for (const name of names)
      if (!seen[name]) throw new Failure(`${name} ${name in seen ? 'was not cancelled' : 'did not reach the page'}`);
  }

  async fullscreen(wanted) {
    const scene = () => this.evaluate(() => document.fullscreenElement === canvas.closest('section'));
    await until(10, async () => (await scene()) === (wanted === '1'),
      `the scene is not ${wanted === '1' ? '' : 'out of '}fullscreen`);
  }

  async fits(fixed) {
    // The program draws at the canvas's size, the projection with its aspect: fixed, or the column's width
    // and within the viewport with the controls under it, at the pixel ratio up to 2.
    const state = () => this.evaluate(() => {
      const box = canvas.getBoundingClientRect(), p = GLImmediate.matrix[1];
      const { bottom } = (controls.box.hidden ? canvas : controls.box).getBoundingClientRect();
      return { size: [canvas.width, canvas.height], drawn: [...GLctx.getParameter(GLctx.VIEWPORT)].slice(2),
        aspect: p[5] / p[0], box: [box.width, box.height], column: canvas.closest('section').clientWidth,
        fits: bottom + scrollY <= innerHeight + 1, ratio: Math.min(devicePixelRatio, 2) };
    });
    const near = (a, b, most = 1) => Math.abs(a - b) <= most;
    await until(10, async () => {
      const { size: [w, h], drawn, aspect, box, column, fits, ratio } = await state();
      return String(drawn) === String([w, h]) && near(aspect, w / h, 1e-3) && (fixed ? `${w}x${h}` === fixed :
        fits && near(box[0], column) && near(w, box[0] * ratio) && near(h, box[1] * ratio));
    }, async () => `the canvas does not fit${fixed ? ' ' + fixed : ''}: ${JSON.stringify(await state())}`);
  }

  async window(size, touch) {
    // A phone: touch, a coarse pointer and three device pixels to the CSS pixel.
    this.touch = !!touch;
    this.cdp ??= await this.page.createCDPSession();
    const [width, height] = size.split('x').map(Number);
    const phone = touch && { deviceScaleFactor: 3, isMobile: true, hasTouch: true };
    return this.page.setViewport({ width, height, ...phone });
  }

  async rebuilds(count) {
    // The first F1 goes fullscreen; each rebuild deletes what the one before made: after an even
    // count the page is windowed again, its memory and live textures as they were, and so is the picture.
    const measure = () => this.evaluate(() => String([HEAP8.length, GL.textures.filter(t => t).length]));
    const before = await measure(), picture = await this.shot('before-rebuilds');
    await this.key('F1');
    await this.fullscreen('1');
    for (let i = 1; i < count; i++) await this.key('F1', 0.05);
    await this.fullscreen('0');
    await sleep(1);
    const after = await measure();
    if (after !== before)
      throw new Failure(`${count} F1 rebuilds took the heap and live textures from ${before} to ${after}`);
    await this.alike(picture, 'after-rebuilds', 0.02, `the picture after ${count} rebuilds is not the picture before`);
  }

  // --- frames, sound, visibility ---
  count_frames() {
    // The program waits for the page's next frame once after every frame it draws.
    return this.evaluate(() => {
      const page = Module.torvelPage, next = page.nextFrame;
      window.framesSeen = 0;
      page.nextFrame = paced => (framesSeen++, next.call(page, paced));
    });
  }

  framesSeen() {
    return this.evaluate(() => framesSeen);
  }

  async sound_switch(name = 'F3') {
    // The explosion fills SDL's audio buffers at the first ball contact (the click that answered
    // the question lets the page play); after F3 they stay silent through the next contacts (no
    // more than 100 frames apart at a time step of 2.6).
    await this.evaluate(() => {
      const node = Module.SDL2.audio.scriptProcessorNode, fill = node.onaudioprocess;
      window.sounding = 0;
      node.onaudioprocess = e => (fill(e), e.outputBuffer.getChannelData(0).some(x => x !== 0) && sounding++);
    });
    for (let i = 0; i < 20; i++) await this.page.keyboard.press('NumpadAdd').then(() => sleep(0.1));
    const sounding = () => this.evaluate(() => sounding);
    await until(90, async () => (await sounding()) > 0, async () => `no sound by frame ${await this.framesSeen()}`);
    await this.key(name);
    await sleep(1.5); // what was playing when F3 acted may play to its end
    const heard = await sounding(), start = await this.framesSeen();
    await poll(120, async () => (await this.framesSeen()) >= start + 200);
    if ((await sounding()) !== heard) throw new Failure('sound after F3 switched it off');
  }

  no_audio() {
    // A browser without Web Audio.
    return this.page.evaluateOnNewDocument('delete window.AudioContext; delete window.webkitAudioContext;');
  }

  async hidden() {
    // A minimised window hides the page: no frames and next to no work until it shows again.
    const browser = await this.page.createCDPSession();
    const { windowId } = await browser.send('Browser.getWindowForTarget');
    const show = windowState => browser.send('Browser.setWindowBounds', { windowId, bounds: { windowState } });
    const busy = async () => (await this.page.metrics()).TaskDuration;
    await show('minimized');
    await until(5, () => this.evaluate(() => document.hidden), 'the page is not hidden');
    await sleep(0.5);
    let frames = await this.framesSeen(), work = await busy();
    await sleep(3);
    [frames, work] = [(await this.framesSeen()) - frames, (await busy()) - work];
    await show('normal');
    console.log(`hidden for 3 s: ${frames} frames, ${work.toFixed(3)} s of work`);
    if (frames > 0 || work > 0.5)
      throw new Failure(`hidden for 3 s the page drew ${frames} frames and worked ${work} s`);
    const start = await this.framesSeen();
    await until(10, async () => (await this.framesSeen()) > start + 10, 'no frames after the page showed again');
  }

  break_picture() {
    // The page's data package with a wand picture that promises more rows than it has.
    this.own_copy();
    const loader = fs.readFileSync(this.web + '/torvel-room.js', 'utf8');
    const start = Number(/"filename":\s*"\/data\/wand.bmp",\s*"start":\s*(\d+)/.exec(loader)[1]);
    const data = fs.openSync(this.web + '/torvel-room.data', 'r+');
    fs.writeSync(data, Buffer.from([0, 16, 0, 0]), 0, 4, start + 22);
    fs.closeSync(data);
  }

  own_copy() {
    if (this.web === this.work + '/web') return;
    fs.cpSync(this.web, this.work + '/web', { recursive: true });
    this.web = this.work + '/web';
  }

  recording(name) {
    // A committed recording beside the page, where the address asks for it.
    this.own_copy();
    fs.mkdirSync(this.web + '/keys', { recursive: true });
    fs.copyFileSync(path.join(HERE, name), path.join(this.web, 'keys', name));
  }

  async replayed(line) {
    // The tools' verdict, and the picture held.
    await this.shows(line);
    const first = await this.shot('held');
    await sleep(0.5);
    await this.alike(first, 'still-held', 0, 'the picture is not held after the replay');
  }

  // --- recordings made and opened on the page ---
  async saved(...passes) {
    // The run's recording saved as a person saves it, and replayed natively to the digest it ends with;
    // each of the passes given (their commands, exactly) must be in it.
    const session = await this.page.createCDPSession(), file = path.join(this.work, 'saved', 'torvel-room.keys');
    await session.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: path.dirname(file) });
    await this.page.click('::-p-aria(Save recording)');
    await until(10, () => fs.existsSync(file), 'no recording saved');
    const verdict = spawnSync(path.join(this.desktop, 'torvel-trace'), ['--keys', file], { encoding: 'utf8' }).stdout;
    console.log(`saved recording: ${verdict.trim()}`);
    if (!/ frames replayed: .*: the same$/.test(verdict.trim())) throw new Failure(`the saved recording: ${verdict}`);
    const recorded = fs.readFileSync(file, 'utf8').split('\n').map(line => line.replace(/^[0-9]+ /, ''));
    for (const commands of passes)
      if (!recorded.includes(commands)) throw new Failure(`no pass of "${commands}" in the saved recording`);
  }

  async unsaved() {
    if (await this.page.$('::-p-aria(Save recording)')) throw new Failure('a replay offers its recording');
  }

  async open(name, size) {
    // Through the file input, and the page loads again to replay it; with a size, a file of that
    // size (sparse) in place of the committed one.
    let file = path.join(HERE, name);
    if (size) fs.truncateSync((fs.writeFileSync((file = path.join(this.work, name)), ''), file), Number(size));
    await Promise.all([this.page.waitForNavigation(), (await this.page.$('#open-file')).uploadFile(file)]);
  }

  async drop(name, text) {
    await Promise.all([this.page.waitForNavigation(), this.evaluate((name, text) => {
      const dataTransfer = new DataTransfer();
      dataTransfer.items.add(new File([text + '\n'], name));
      canvas.dispatchEvent(new DragEvent('drop', { dataTransfer, bubbles: true, cancelable: true }));
    }, name, text)]);
  }

  reads() {
    // Counts the bytes the page reads from files, to see that one too large stays unread.
    return this.page.evaluateOnNewDocument(() => {
      for (const how of ['arrayBuffer', 'text', 'stream', 'slice']) {
        const read = Blob.prototype[how];
        Blob.prototype[how] = function (...args) {
          window.bytesRead = (window.bytesRead ?? 0) + this.size;
          return read.apply(this, args);
        };
      }
    });
  }

  async unread() {
    const read = await this.evaluate(() => window.bytesRead ?? 0);
    if (read > 0) throw new Failure(`the page read ${read} bytes of a file it refuses`);
  }

  loading() {
    // A network slower than 127.0.0.1, as a person's is, and each value the loading indicator takes.
    return Promise.all([this.page.emulateNetworkConditions({ download: 2e6, upload: -1, latency: 0 }),
      this.page.evaluateOnNewDocument(() => new MutationObserver(changes => changes.forEach(({ target: t }) =>
        t.id === 'loading-bar' && t.hasAttribute('value') && (window.shown ??= []).push([t.value, t.max])))
        .observe(document, { subtree: true, attributeFilter: ['value', 'max'] }))]);
  }

  async explains(...words) {
    // The indicator rose to the bytes of the .wasm and the .data; the page's visible text has the words; the
    // program's output is in the collapsed Output area without the emulation's notes, which reach the
    // console; the page's icons are PNGs it serves itself.
    const { shown = [], text, log, icons } = await this.evaluate(async () => ({ shown: window.shown,
      text: document.body.innerText, log: logBox.textContent,
      icons: await Promise.all([...document.querySelectorAll('link[rel~=icon]')].map(async ({ href }) =>
        String(new Uint8Array(await (await fetch(href)).arrayBuffer()).slice(0, 4)))) }));
    const total = fs.statSync(this.web + '/torvel-room.wasm').size + fs.statSync(this.web + '/torvel-room.data').size;
    const lines = this.messages.filter(m => /\/index\.html/.test(m.from) && !/^\[\.WebGL-/.test(m.text))
      .map(m => m.text);
    const wrong = [...words.filter(word => !text.includes(word)), ...icons.filter(icon => icon !== '137,80,78,71'),
      ...lines.filter(line => text.includes(line) || /emulation/.test(line) === log.includes(line)),
      ...shown.filter(([value, max], i) => max !== total || value < (shown[i - 1]?.[0] ?? 0))];
    if (shown.length < 3 || !icons.length || !lines.some(line => /emulation/.test(line)) || wrong.length)
      throw new Failure(`the page does not explain itself: ${JSON.stringify(wrong).slice(0, 500)}, ` +
        `${shown.length} values of the loading indicator, ${icons.length} icons`);
  }

  async shows(line) {
    // The line on the console and under the canvas (where the page may still be loading).
    const shown = () => this.evaluate(() => document.getElementById('status')?.textContent);
    await until(120, async () => (await shown()) === line && this.console('log').includes(line),
      async () => `"${line}" is not both on the console and under the canvas, which shows "${await shown()}"`);
  }

  status(code) {
    return this.shows(`The program ended with status ${code}.`);
  }

  async held(frames) {
    await until(120, () => this.console('log').includes(`held at frame ${frames}`), `not held at frame ${frames}`);
    await sleep(0.3);
  }

  async like_shot(frames, keys) {
    const page = await this.shot('page-' + frames);
    const native = path.join(this.pictures, `${this.name}-torvel-shot-${frames}.png`);
    const replay = keys ? ['--keys', path.join(HERE, keys)] : [];
    const size = ['--size', await this.evaluate(() => canvas.width + 'x' + canvas.height)];
    const shot = spawnSync(path.join(this.desktop, 'torvel-shot'), [frames, native, ...size, ...replay], {
      cwd: this.desktop, env: { ...process.env, SDL_VIDEODRIVER: 'offscreen' }, stdio: ['ignore', 'ignore', 'inherit']
    });
    if (shot.status !== 0) throw new Failure('torvel-shot failed');
    this.compared = [page, native];
    this.near_shot(`frame ${frames} at 160 x 120`, difference(page, native));
  }

  near_shot(what, mae) {
    console.log(`${what}: page against torvel-shot, MAE ${mae.toFixed(4)}`);
    if (mae >= 0.03) throw new Failure(`${what} differs from torvel-shot by ${mae}`);
  }

  close_up(crop) {
    // One ball at full size, where its sphere-mapped glow shows (the whole frame at 160 x 120
    // hides it): frame 300 has a ball on the right-hand cylinder there.
    const cut = this.compared.map(file => converted(file, '.cut.png', '-crop', crop, '+repage'));
    this.near_shot(`close-up ${crop}`, difference(...cut, '100%'));
  }

  // --- the run ---
  async run(browserName, query, steps) {
    this.browser = await launch(browserName, this.work);
    let server;
    try {
      [this.page] = await this.browser.pages();
      this.page.on('console', m =>
        this.messages.push({ type: m.type(), text: m.text(), from: m.stackTrace()[0]?.url }));
      this.page.on('request', r => /^(http:\/\/127\.0\.0\.1:|data:|blob:)/.test(r.url()) ||
        this.messages.push({ type: 'exception', text: 'a request to ' + r.url() }));
      this.page.on('pageerror', e => this.messages.push({ type: 'exception', text: String(e.message ?? e) }));
      const early = steps.filter(([step]) => BEFORE_LOADING.includes(step));
      for (const [step, ...args] of early) await this[step](...args);
      server = await serve(path.resolve(this.web));
      await this.page.goto(`http://127.0.0.1:${server.address().port}/index.html${query === '-' ? '' : '?' + query}`);
      for (const [step, ...args] of steps.filter(step => !early.includes(step))) await this[step](...args);
      await sleep(0.2);
      const errors = this.messages.filter(m => m.type === 'exception' || (m.type === 'error' && !KNOWN.test(m.text)));
      if (errors.length)
        throw new Failure('page errors: ' + errors.slice(0, 5).map(m => m.type + ': ' + m.text).join('; '));
    } finally {
      await Promise.race([this.browser.close(), sleep(10)]).catch(() => {});
      this.browser.process()?.kill('SIGKILL');
      server?.close();
    }
  }
}

// Runs the row named on the command line, of the rows given, with the class given (Run or one extending it).
export async function main(rows, Runner = Run) {
  const argv = process.argv.slice(2);
  const browser = argv[0] === '--browser' ? argv.splice(0, 2)[1] : 'chromium';
  const [web, name, desktop] = argv;
  const row = rows.split('\n').find(line => line.split(/\s+/)[0] === name);
  if (!name || !['chromium', 'firefox'].includes(browser))
    return console.error('usage: page.mjs [--browser chromium|firefox] WEB_DIR RUN [DESKTOP_BIN_DIR]'), 2;
  if (!row) return console.error('no run named ' + name), 2;
  const [, query, rest] = /^\S+\s+(\S+)\s+(.*)$/.exec(row);
  const steps = rest.split(';').map(step => (step.match(/"[^"]*"|\S+/g) ?? []).map(word => word.replace(/^"|"$/g, '')));
  const work = fs.mkdtempSync(path.join(os.tmpdir(), 'torvel-page.'));
  const run = new Runner(name, web, desktop, work);
  try {
    await run.run(browser, query, steps.filter(step => step.length));
  } catch (failure) {
    console.error(`FAIL (${name}): ${failure instanceof Failure ? failure.message : failure.stack}`);
    for (const m of run.messages.slice(-20)) console.error('  console: ' + m.text);
    return 1;
  } finally {
    fs.rmSync(work, { recursive: true, force: true });
  }
  console.log(`${name}${browser === 'chromium' ? '' : ' in ' + browser}: passed`);
  return 0;
}

if (fs.realpathSync(process.argv[1]) === fileURLToPath(import.meta.url))
  process.exitCode = await main(fs.readFileSync(path.join(HERE, 'page.runs'), 'utf8'));
