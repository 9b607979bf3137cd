// Starts `./demo serve` (lighttpd with vemba_cgi), opens the HTML page that
// vemba_cgi answers with in headless Chromium, follows the play link, checks
// that the sound file arrives whole, and stops the server with Ctrl-C.
//
//   node play_page_test.js        (VEMBA_BUILD_DIR picks the build, as for ./demo)
'use strict';

const assert = require('node:assert/strict');
const { spawn } = require('node:child_process');
const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const { chromium } = require('playwright-core');

const repo = path.resolve(__dirname, '..', '..');
const webRoot = path.join(repo, 'demo-run', 'www');
const chromiumPath = process.env.CHROMIUM_PATH || '/usr/bin/chromium';
const chromiumArgs = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

// A port nothing listens on right now.
function freePort() {
  return new Promise((resolve, reject) => {
    const probe = net.createServer();
    probe.on('error', reject);
    probe.listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// Starts `./demo serve PORT` in its own process group and resolves with the
// HTML URL it prints once lighttpd listens.
function serveDemo(port) {
  const child = spawn(path.join(repo, 'demo'), ['serve', String(port)],
    { detached: true, stdio: ['ignore', 'pipe', 'pipe'] });
  let output = '';
  const ready = new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error(`./demo serve printed no URL:\n${output}`)),
      600000);
    const look = (chunk) => {
      output += chunk;
      const html = /^HTML: +(\S+)$/m.exec(output);
      if (html) {
        clearTimeout(timer);
        resolve(html[1]);
      }
    };
    child.stdout.on('data', look);
    child.stderr.on('data', look);
    child.on('exit', (code) => {
      clearTimeout(timer);
      reject(new Error(`./demo serve exited with ${code}:\n${output}`));
    });
  });
  const exited = new Promise((resolve) => child.on('exit', (code, signal) => resolve({ code, signal })));
  return { child, ready, exited };
}

// Play time of a WAV file of 8,000 one-byte samples per second.
function dataSeconds(wav) {
  assert.equal(wav.subarray(0, 4).toString(), 'RIFF');
  assert.equal(wav.subarray(8, 12).toString(), 'WAVE');
  for (let at = 12; at + 8 <= wav.length; at += 8 + wav.readUInt32LE(at + 4)) {
    if (wav.subarray(at, at + 4).toString() === 'data') return wav.readUInt32LE(at + 4) / 8000;
  }
  throw new Error('the sound file has no data chunk');
}

async function main() {
  const port = await freePort();
  const demo = serveDemo(port);
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'vemba-chromium-'));
  let context = null;
  try {
    const pageUrl = await demo.ready;
    context = await chromium.launchPersistentContext(userDataDir, {
      executablePath: chromiumPath, headless: true, args: chromiumArgs,
    });
    const page = context.pages()[0] || await context.newPage();

    const opened = await page.goto(pageUrl);
    assert.equal(opened.status(), 200, 'the page is served');
    assert.equal(opened.headers()['content-type'], 'text/html; charset=utf-8');
    assert.match(await page.content(), /Sound file was succesfully created/);
    const link = page.locator('a');
    assert.equal(await link.count(), 1, 'the page has one play link');
    const wavUrl = await link.getAttribute('href');
    assert.match(wavUrl, new RegExp(`^http://127\\.0\\.0\\.1:${port}/tts/sound[0-9a-f]+\\.wav$`));
    const wavBytes = fs.readFileSync(path.join(webRoot, new URL(wavUrl).pathname));
    const button = link.locator('img');
    assert.ok(await button.evaluate((img) => img.complete && img.naturalWidth > 0),
      'the play button image is shown');

    // Following the link opens the sound file itself; the browser's media
    // document then reads it again, so the bytes are checked with a fetch from
    // that document rather than from the navigation, whose body it discards.
    const [response] = await Promise.all([
      page.waitForResponse((r) => r.url() === wavUrl),
      button.click(),
    ]);
    assert.equal(response.status(), 200, 'the sound file is fetched with HTTP 200');
    assert.equal(response.headers()['content-type'], 'audio/wav');
    await page.waitForURL(wavUrl);
    const fetched = await page.evaluate(async () => {
      const r = await fetch(location.href, { cache: 'no-store' });
      const bytes = Array.from(new Uint8Array(await r.arrayBuffer()));
      const media = document.querySelector('video, audio');
      if (media && media.readyState < 1) {
        await new Promise((done) => {
          media.addEventListener('loadedmetadata', done);
          media.addEventListener('error', done);
          setTimeout(done, 10000);
        });
      }
      return { status: r.status, bytes, duration: media ? media.duration : null };
    });
    assert.equal(fetched.status, 200, 'the sound file is fetched again with HTTP 200');
    const body = Buffer.from(fetched.bytes);
    assert.ok(body.equals(wavBytes),
      `the fetched bytes equal the file (${body.length} fetched, ${wavBytes.length} on disk)`);
    const seconds = dataSeconds(wavBytes);
    assert.ok(seconds > 0.5, `the sound lasts ${seconds} s`);
    assert.ok(fetched.duration !== null && Math.abs(fetched.duration - seconds) < 0.05,
      `the browser decodes ${fetched.duration} s of the ${seconds} s sound`);

    console.log(`ok: ${pageUrl} played ${wavUrl} (${wavBytes.length} bytes, ${seconds} s)`);
  } finally {
    if (context) await context.close();
    fs.rmSync(userDataDir, { recursive: true, force: true });
    // Ctrl-C as a person would give it: to the whole group.
    try { process.kill(-demo.child.pid, 'SIGINT'); } catch { /* already gone */ }
  }
  const { code, signal } = await demo.exited;
  assert.equal(code, 0, `./demo serve stops cleanly on Ctrl-C (exit ${code}, signal ${signal})`);
}

main().catch((error) => {
  console.error('FAIL:', error.message);
  process.exit(1);
});
