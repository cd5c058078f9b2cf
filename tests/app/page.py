#!/usr/bin/env python3
"""The page in headless Chromium, driven over the DevTools protocol, one run per table row:
    page.py WEB_DIR RUN [DESKTOP_BIN_DIR]
WEB_DIR holds the built page; DESKTOP_BIN_DIR the desktop build's torvel-shot for the picture
comparison. The page is served on 127.0.0.1 only. The console, the page's status line and its
exceptions are read as the desktop driver reads stdout, stderr and the exit status; no row may
raise a page error or log a console error. Pictures stay in WEB_DIR/../page-pictures/."""
import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

# name, the page's address query, then the steps (methods of Run below).
RUNS = '''
windowed        -                      answer No; drawn; moving; lines out "^Width of data/marble.bmp: " 1 1; escape 0
fullscreen      -                      question; key Enter; fullscreen 1; drawn; moving
f1              -                      answer No; drawn; still; f1_and_back; rebuilds 50; escape 0
keys            -                      answer No; drawn; still; changes Left; changes NumpadAdd; changes F2; changes ArrowUp 1.5
cancelled       -                      answer No; drawn; cancelled F1 F2 F3 ArrowLeft ArrowRight ArrowUp ArrowDown NumpadAdd NumpadSubtract
browser-leaves  -                      answer No; drawn; key F1; fullscreen 1; browser_leaves; fullscreen 0; key F1; fullscreen 1
broken-picture  -                      break_picture; answer No; status 1; lines out "^Error reading image data from data/wand.bmp.$" 1 1
frames-300      frames=300&TORVEL_FRAME_PACING=0  answer No; held 300; like_shot 300; close_up 36x36+452+372
timing          TORVEL_TIMING=1&TORVEL_RECORD=x   answer No; drawn; lines err "^First frame presented" 1 1; lines err "^TORVEL_RECORD ignored" 1 1; escape 0
sound           TORVEL_FRAME_PACING=0  answer No; drawn; count_frames; sound_switch; lines err "^No sound" 0 0
no-audio        -                      no_audio; answer No; drawn; moving; lines err "^No sound: no audio device " 1 1; escape 0
hidden          -                      answer No; drawn; count_frames; hidden
hidden-unpaced  TORVEL_FRAME_PACING=0  answer No; drawn; count_frames; hidden
replay          keys=keys/replay.keys&TORVEL_FRAME_PACING=0  recording replay.keys; answer No; replayed "469 frames replayed: digest recorded a5da82ad0b2e8561, replayed a5da82ad0b2e8561: the same"
replay-frames   keys=keys/replay.keys&frames=400&TORVEL_FRAME_PACING=0  recording replay.keys; answer No; held 400; like_shot 400 replay.keys
replay-refused  keys=../replay.keys   recording replay.keys; status 2; lines err "^No replay: keys=../replay.keys refused: " 1 1
'''
# Not a test: the figures scripts/measure.sh prints (page.py WEB_DIR figures).
FIGURES = 'figures TORVEL_TIMING=1&TORVEL_FRAME_PACING=0&frames=1000  asked; answer No; held 1000; figures'

KEYS = {  # DOM key, code, Windows virtual-key code, location
    'Enter': ('Enter', 'Enter', 13, 0), 'Escape': ('Escape', 'Escape', 27, 0),
    'F1': ('F1', 'F1', 112, 0), 'F2': ('F2', 'F2', 113, 0), 'F3': ('F3', 'F3', 114, 0),
    'ArrowLeft': ('ArrowLeft', 'ArrowLeft', 37, 0), 'ArrowUp': ('ArrowUp', 'ArrowUp', 38, 0),
    'ArrowRight': ('ArrowRight', 'ArrowRight', 39, 0), 'ArrowDown': ('ArrowDown', 'ArrowDown', 40, 0),
    'Left': ('ArrowLeft', 'ArrowLeft', 37, 0),
    'NumpadAdd': ('+', 'NumpadAdd', 107, 3), 'NumpadSubtract': ('-', 'NumpadSubtract', 109, 3),
}
# The legacy-GL emulation's own one-time notices; anything else on the console's error level fails.
KNOWN_WARNINGS = re.compile(r'^(WebGL: INVALID_ENUM: (enable|disable|getParameter)|GL_INVALID_ENUM)')


class Failure(Exception):
    pass


class Browser:
    """Chromium over --remote-debugging-pipe: commands on fd 3, replies and events on fd 4."""

    def __init__(self, profile):
        to_chrome_r, self.to_chrome = os.pipe()
        self.from_chrome, from_chrome_w = os.pipe()

        def child_fds():
            os.dup2(to_chrome_r, 3)
            os.dup2(from_chrome_w, 4)

        self.process = subprocess.Popen(
            ['/usr/lib/chromium/chromium', '--headless', '--no-sandbox', '--enable-unsafe-swiftshader',
             '--disable-background-networking', '--disable-component-update', '--disable-sync',
             '--no-first-run', '--remote-debugging-pipe',
             '--user-data-dir=' + profile, 'about:blank'],
            pass_fds=(3, 4), preexec_fn=child_fds,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_chrome_r)
        os.close(from_chrome_w)
        self.next_id = 0
        self.replies = {}
        self.events = []
        self.lock = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()
        self.target = self.call('Target.createTarget', url='about:blank')['targetId']
        self.session = self.call('Target.attachToTarget', targetId=self.target, flatten=True)['sessionId']
        for domain in ('Runtime', 'Page', 'Log', 'Performance'):
            self.call(domain + '.enable', session=True)

    def _read(self):
        buffer = b''
        while True:
            chunk = os.read(self.from_chrome, 1 << 16)
            if not chunk:
                return
            buffer += chunk
            while b'\0' in buffer:
                raw, buffer = buffer.split(b'\0', 1)
                message = json.loads(raw)
                with self.lock:
                    if 'id' in message:
                        self.replies[message['id']] = message
                    else:
                        self.events.append(message)
                    self.lock.notify_all()

    def call(self, method, session=False, **params):
        with self.lock:
            self.next_id += 1
            ident = self.next_id
        message = {'id': ident, 'method': method, 'params': params}
        if session:
            message['sessionId'] = self.session
        os.write(self.to_chrome, json.dumps(message).encode() + b'\0')
        with self.lock:
            if not self.lock.wait_for(lambda: ident in self.replies, timeout=60):
                raise Failure('no reply to ' + method)
            reply = self.replies.pop(ident)
        if 'error' in reply:
            raise Failure('%s: %s' % (method, reply['error'].get('message')))
        return reply.get('result', {})

    def page(self, method, **params):
        return self.call(method, session=True, **params)

    def evaluate(self, expression):
        result = self.page('Runtime.evaluate', expression=expression, returnByValue=True, awaitPromise=True)
        if 'exceptionDetails' in result:
            raise Failure('page script failed: ' + expression)
        return result['result'].get('value')

    def close(self):
        # Closed as a user closes it, so that its helper processes leave the profile too.
        try:
            os.write(self.to_chrome, json.dumps({'id': 0, 'method': 'Browser.close'}).encode() + b'\0')
            self.process.wait(timeout=10)
        except (OSError, subprocess.TimeoutExpired):
            self.process.kill()
            self.process.wait()


def serve(directory):
    handler = functools.partial(QuietHandler, directory=directory)
    server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, '.wasm': 'application/wasm'}

    def log_message(self, *args):
        pass


def poll(seconds, check):
    end = time.time() + seconds
    while True:
        value = check()
        if value or time.time() > end:
            return value
        time.sleep(0.1)


class Run:
    def __init__(self, name, web, desktop, work):
        self.name, self.web, self.work = name, web, work
        self.desktop = os.path.abspath(desktop) if desktop else ''
        self.pictures = os.path.join(os.path.dirname(os.path.abspath(web)), 'page-pictures')
        os.makedirs(self.pictures, exist_ok=True)
        self.shots = 0

    # --- what the page printed -------------------------------------------------------------
    def console(self, kinds=('log', 'warning', 'error', 'info')):
        lines = []
        with self.browser.lock:
            events = list(self.browser.events)
        for event in events:
            if event.get('method') == 'Runtime.consoleAPICalled' and event['params']['type'] in kinds:
                args = event['params']['args']
                lines.append(' '.join(str(a.get('value', a.get('description', ''))) for a in args))
        return lines

    def errors(self):
        found = []
        with self.browser.lock:
            events = list(self.browser.events)
        for event in events:
            method, params = event.get('method'), event.get('params', {})
            if method == 'Runtime.exceptionThrown':
                found.append('exception: ' + params['exceptionDetails'].get('exception', {}).get(
                    'description', params['exceptionDetails'].get('text', '')))
            elif method == 'Runtime.consoleAPICalled' and params['type'] == 'error':
                found.append('console error: ' + str(params['args'][0].get('value', '')))
            elif method == 'Log.entryAdded' and params['entry']['level'] == 'error':
                if not KNOWN_WARNINGS.match(params['entry']['text']):
                    found.append('log error: ' + params['entry']['text'])
        return found

    def lines(self, stream, pattern, least, most):
        # stdout reaches the console as log lines, stderr as warnings.
        kinds = ('log',) if stream == 'out' else ('warning',)
        count = sum(1 for line in self.console(kinds) if re.search(pattern, line))
        if not int(least) <= count <= int(most):
            raise Failure('%d lines of std%s match %r, not %s to %s' % (count, stream, pattern, least, most))

    # --- input -----------------------------------------------------------------------------
    def key_event(self, kind, name):
        key, code, vk, location = KEYS[name]
        params = dict(type=kind, key=key, code=code, windowsVirtualKeyCode=vk, nativeVirtualKeyCode=vk,
                      location=location)
        if kind == 'keyDown' and key == 'Enter':
            params['text'] = '\r'
        self.browser.page('Input.dispatchKeyEvent', **params)

    def key(self, name, seconds='0.1'):
        self.key_event('keyDown', name)
        time.sleep(float(seconds))
        self.key_event('keyUp', name)
        time.sleep(0.3)

    def question(self):
        # The start-up question, as the desktop program asks it.
        shown = poll(20, lambda: self.browser.evaluate(
            '(() => { const d = document.getElementById("dialog"); return d && !d.hidden && '
            '[document.getElementById("dialog-caption").textContent, '
            'document.getElementById("dialog-text").textContent]; })()'))
        if shown != ['Start FullScreen?', 'Would You Like To Run In Fullscreen Mode?']:
            raise Failure('no start-up question on the page (%r)' % (shown,))

    def answer(self, label):
        box = poll(20, lambda: self.browser.evaluate(
            '(() => { const b = [...document.querySelectorAll("#dialog-buttons button")].find(b => '
            'b.textContent === %s && !document.getElementById("dialog").hidden); if (!b) return null; '
            'const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()'
            % json.dumps(label)))
        if not box:
            raise Failure('no dialog with a %s button' % label)
        for kind in ('mousePressed', 'mouseReleased'):
            self.browser.page('Input.dispatchMouseEvent', type=kind, x=box[0], y=box[1], button='left',
                              clickCount=1)

    # --- pictures --------------------------------------------------------------------------
    def shot(self, label):
        fullscreen = self.browser.evaluate('document.fullscreenElement !== null')
        params = {'format': 'png'}
        if not fullscreen:
            rect = self.browser.evaluate('(() => { const r = canvas.getBoundingClientRect(); '
                                         'return [r.x + scrollX, r.y + scrollY, r.width, r.height]; })()')
            params['clip'] = dict(x=rect[0], y=rect[1], width=rect[2], height=rect[3], scale=1)
        import base64
        data = base64.b64decode(self.browser.page('Page.captureScreenshot', **params)['data'])
        self.shots += 1
        path = os.path.join(self.pictures, '%s-%d-%s.png' % (self.name, self.shots, label))
        with open(path, 'wb') as f:
            f.write(data)
        return path

    @staticmethod
    def difference(a, b, size='160x120!'):
        small = []
        for path in (a, b):
            out = path + '.small.png'
            subprocess.run(['convert', path, '-resize', size, out], check=True)
            small.append(out)
        result = subprocess.run(['compare', '-metric', 'MAE', small[0], small[1], 'null:'],
                                capture_output=True, text=True)
        match = re.search(r'\(([0-9.e-]+)\)', result.stderr)
        if not match:
            raise Failure('compare failed: ' + result.stderr.strip())
        return float(match.group(1))

    def drawn(self):
        # Drawn: the picture has the sky colour the frame clears to and more than one colour.
        def ready():
            path = self.shot('drawn')
            out = subprocess.run(['convert', path, '-format', '%k', 'info:'], capture_output=True, text=True)
            return int(out.stdout.strip() or 0) > 50
        if not poll(30, ready):
            raise Failure('the scene was not drawn')

    def moving(self):
        first = self.shot('before')
        time.sleep(1.0)
        if self.difference(first, self.shot('after')) < 0.002:
            raise Failure('the scene does not move')

    def still(self):
        # A picture that stands still: time step 0 (keypad minus six times), the camera following
        # ball 0 (F2), and time for the explosions to fade.
        for _ in range(6):
            self.key('NumpadSubtract')
        self.key('F2')
        time.sleep(2.5)

    def changes(self, name, hold='0.4'):
        # The key's change must stand out of what the same time changes without it.
        first = self.shot('drift-' + name)
        time.sleep(float(hold) + 0.3)
        before = self.shot('before-' + name)
        self.key(name, hold)
        drift, change = self.difference(first, before), self.difference(before, self.shot('after-' + name))
        print('%s changed the picture by %.4f, the same time without it by %.4f' % (name, change, drift))
        if change < 2 * drift + 0.005:
            raise Failure('%s did not change the picture (%.4f, %.4f without it)' % (name, change, drift))

    def cancelled(self, *names):
        self.browser.evaluate('window.seenKeys = []; window.addEventListener("keydown", e => '
                              'seenKeys.push([e.code, e.defaultPrevented]))')
        for name in names:
            self.key(name)
        seen = dict((code, prevented) for code, prevented in self.browser.evaluate('seenKeys'))
        for name in names:
            code = KEYS[name][1]
            if code not in seen:
                raise Failure('%s did not reach the page' % name)
            if not seen[code]:
                raise Failure('the key-down of %s was not cancelled' % name)

    def fullscreen(self, wanted):
        want = wanted == '1'
        if not poll(10, lambda: self.browser.evaluate('document.fullscreenElement === canvas') == want):
            raise Failure('the canvas is %sthe fullscreen element' % ('not ' if want else ''))

    def f1_and_back(self):
        before = self.shot('before-f1')
        self.key('F1')
        self.fullscreen('1')
        self.shot('fullscreen')
        self.key('F1')
        self.fullscreen('0')
        time.sleep(0.5)
        after = self.shot('after-f1')
        if self.difference(before, after) > 0.02:
            raise Failure('the picture after F1 and F1 is not the picture before')

    def rebuilds(self, count):
        # Each F1 rebuild deletes what the one before made: the page's memory and its live
        # textures stay as they were, and so does the picture.
        measure = '[HEAP8.length, GL.textures.filter(t => t).length]'
        before, picture = self.browser.evaluate(measure), self.shot('before-rebuilds')
        for _ in range(int(count)):
            self.key('F1', '0.05')
        self.fullscreen('0')
        time.sleep(1.0)
        after = self.browser.evaluate(measure)
        if after != before:
            raise Failure('%s F1 rebuilds took the heap and live textures from %s to %s' % (count, before, after))
        if self.difference(picture, self.shot('after-rebuilds')) > 0.02:
            raise Failure('the picture after %s F1 rebuilds is not the picture before' % count)

    # --- frames, sound, visibility ---------------------------------------------------------
    def count_frames(self):
        # The program waits for the page's next frame once after every frame it draws.
        self.browser.evaluate('window.framesSeen = 0; { const page = Module.torvelPage, next = page.nextFrame; '
                              'page.nextFrame = paced => (framesSeen++, next.call(page, paced)); } 1')

    def frames_seen(self):
        return self.browser.evaluate('framesSeen')

    def taps(self, name, count):
        for _ in range(int(count)):
            self.key_event('keyDown', name)
            self.key_event('keyUp', name)
            time.sleep(0.1)

    def sound_switch(self):
        # The explosion fills SDL's audio buffers at the first ball contact (the click that answered
        # the question lets the page play); after F3 they stay silent through the next contacts (no
        # more than 100 frames apart at a time step of 2.6).
        self.browser.evaluate('window.sounding = 0; { const node = Module.SDL2.audio.scriptProcessorNode, '
                              'fill = node.onaudioprocess; node.onaudioprocess = e => { fill(e); '
                              'if (e.outputBuffer.getChannelData(0).some(x => x !== 0)) sounding++; }; } 1')
        self.taps('NumpadAdd', 20)
        if not poll(90, lambda: self.browser.evaluate('sounding') > 0):
            raise Failure('no sound by frame %d' % self.frames_seen())
        self.key('F3')
        time.sleep(1.5)  # what was playing when F3 acted may play to its end
        heard, start = self.browser.evaluate('sounding'), self.frames_seen()
        poll(120, lambda: self.frames_seen() >= start + 200)
        if self.browser.evaluate('sounding') != heard:
            raise Failure('sound after F3 switched it off')

    def no_audio(self):
        # A browser without Web Audio.
        self.browser.page('Page.addScriptToEvaluateOnNewDocument',
                          source='delete window.AudioContext; delete window.webkitAudioContext;')

    def hidden(self):
        # A minimised window hides the page: no frames and next to no work until it shows again.
        window = self.browser.call('Browser.getWindowForTarget', targetId=self.browser.target)['windowId']

        def show(state):
            self.browser.call('Browser.setWindowBounds', windowId=window, bounds={'windowState': state})

        def busy():
            metrics = self.browser.page('Performance.getMetrics')['metrics']
            return next(m['value'] for m in metrics if m['name'] == 'TaskDuration')
        show('minimized')
        if not poll(5, lambda: self.browser.evaluate('document.hidden')):
            raise Failure('the page is not hidden')
        time.sleep(0.5)
        frames, work = self.frames_seen(), busy()
        time.sleep(3)
        frames, work = self.frames_seen() - frames, busy() - work
        show('normal')
        print('hidden for 3 s: %d frames, %.3f s of work' % (frames, work))
        if frames > 0 or work > 0.5:
            raise Failure('hidden for 3 s the page drew %d frames and worked %.2f s' % (frames, work))
        start = self.frames_seen()
        if not poll(10, lambda: self.frames_seen() > start + 10):
            raise Failure('no frames after the page showed again')

    def browser_leaves(self):
        self.browser.evaluate('document.exitFullscreen()')

    def break_picture(self):
        # The page's data package with a wand picture that promises more rows than it has.
        self.own_copy()
        with open(self.web + '/torvel-room.js') as f:
            start = int(re.search(r'"filename":\s*"/data/wand.bmp",\s*"start":\s*(\d+)', f.read()).group(1))
        with open(self.web + '/torvel-room.data', 'r+b') as f:
            f.seek(start + 22)
            f.write((4096).to_bytes(4, 'little'))

    def own_copy(self):
        if self.web != self.work + '/web':
            shutil.copytree(self.web, self.work + '/web')
            self.web = self.work + '/web'

    def recording(self, name):
        # A committed recording beside the page, where the address asks for it.
        self.own_copy()
        os.makedirs(self.web + '/keys', exist_ok=True)
        shutil.copy(os.path.join(os.path.dirname(os.path.abspath(__file__)), name), self.web + '/keys/')

    def replayed(self, line):
        # The tools' verdict on the console and under the canvas, and the picture held.
        if not poll(120, lambda: line in self.console(('log',))):
            raise Failure('no "%s" on the console' % line)
        shown = self.browser.evaluate('document.getElementById("status").textContent')
        if shown != line:
            raise Failure('the page shows %r, not the verdict' % shown)
        first = self.shot('held')
        time.sleep(0.5)
        if self.difference(first, self.shot('still-held')) > 0.0:
            raise Failure('the picture is not held after the replay')

    def asked(self):
        self.question()
        self.asked_after = time.time() - self.opened

    def figures(self):
        found = {}
        for line in self.console(('warning',)):
            for name, pattern in (('first', r'^First frame presented .*, ([0-9.]+) ms after the last answer'),
                                  ('at100', r'^100 frames presented after ([0-9.]+) s'),
                                  ('at1000', r'^1000 frames presented after ([0-9.]+) s')):
                match = re.search(pattern, line)
                found[name] = float(match.group(1)) if match else found.get(name)
        print('page opened to question: %.0f ms (polled every 0.1 s)' % (self.asked_after * 1000))
        print('answer to first frame: %.0f ms' % found['first'])
        print('frames 100 to 1000, pacing off: %.1f fps' % (900 / (found['at1000'] - found['at100'])))

    def status(self, code):
        line = 'The program ended with status %s.' % code
        shown = '(document.getElementById("status") || {}).textContent'  # the page may still be loading
        if not poll(30, lambda: self.browser.evaluate(shown) == line):
            raise Failure('the page does not show "%s" (%r)' % (line, self.browser.evaluate(shown)))
        if line not in self.console(('log',)):
            raise Failure('the console has no "%s"' % line)

    def escape(self, code):
        self.key('Escape')
        self.status(code)

    def held(self, frames):
        line = 'held at frame %s' % frames
        if not poll(120, lambda: line in self.console(('log',))):
            raise Failure('no "%s" on the console' % line)
        time.sleep(0.3)

    def like_shot(self, frames, keys=None):
        page = self.shot('page-%s' % frames)
        native = os.path.join(self.pictures, '%s-torvel-shot-%s.png' % (self.name, frames))
        replay = ['--keys', os.path.join(os.path.dirname(os.path.abspath(__file__)), keys)] if keys else []
        subprocess.run([os.path.join(self.desktop, 'torvel-shot'), frames, native] + replay, cwd=self.desktop,
                       env={**os.environ, 'SDL_VIDEODRIVER': 'offscreen'}, check=True,
                       stdout=subprocess.DEVNULL)
        self.compared = (page, native)
        mae = self.difference(page, native)
        print('frame %s: page against torvel-shot, MAE %.4f at 160 x 120' % (frames, mae))
        if mae >= 0.03:
            raise Failure('frame %s differs from torvel-shot by %.4f' % (frames, mae))

    def close_up(self, crop):
        # One ball at full size, where its sphere-mapped glow shows (the whole frame at 160 x 120
        # hides it): frame 300 has a ball on the right-hand cylinder there.
        cut = []
        for path in self.compared:
            cut.append(path + '.close-up.png')
            subprocess.run(['convert', path, '-crop', crop, '+repage', cut[-1]], check=True)
        mae = self.difference(*cut, size='100%')
        print('close-up %s: page against torvel-shot, MAE %.4f' % (crop, mae))
        if mae >= 0.03:
            raise Failure('the close-up %s differs from torvel-shot by %.4f' % (crop, mae))

    # --- the run ---------------------------------------------------------------------------
    def run(self, query, steps):
        before_loading = ('break_picture', 'recording', 'no_audio')
        self.browser = Browser(self.work + '/profile')
        server = None
        try:
            for step in steps:
                if step[0] in before_loading:
                    getattr(self, step[0])(*step[1:])
            server = serve(self.web)
            url = 'http://127.0.0.1:%d/index.html%s' % (server.server_port, '' if query == '-' else '?' + query)
            self.opened = time.time()
            self.browser.page('Page.navigate', url=url)
            for step in steps:
                if step[0] not in before_loading:
                    getattr(self, step[0])(*step[1:])
            time.sleep(0.2)
            errors = self.errors()
            if errors:
                raise Failure('page errors: ' + '; '.join(errors[:5]))
        finally:
            self.browser.close()
            if server:
                server.shutdown()


def main():
    if len(sys.argv) < 3:
        sys.exit('usage: page.py WEB_DIR RUN [DESKTOP_BIN_DIR]')
    web, name = sys.argv[1], sys.argv[2]
    desktop = sys.argv[3] if len(sys.argv) > 3 else ''
    rows = {line.split()[0]: line for line in (RUNS + FIGURES).strip().splitlines()}
    if name not in rows:
        sys.exit('no run named ' + name)
    _, query, rest = rows[name].split(None, 2)
    steps = [re.findall(r'"[^"]*"|\S+', step) for step in rest.split(';')]
    steps = [[word.strip('"') for word in step] for step in steps if step]
    with tempfile.TemporaryDirectory(prefix='torvel-page.', ignore_cleanup_errors=True) as work:
        run = Run(name, web, desktop, work)
        try:
            run.run(query, steps)
        except Failure as failure:
            print('FAIL (%s): %s' % (name, failure), file=sys.stderr)
            for line in run.console()[-20:] if hasattr(run, 'browser') else []:
                print('  console: ' + line, file=sys.stderr)
            sys.exit(1)
    print('%s: passed' % name)


if __name__ == '__main__':
    main()
