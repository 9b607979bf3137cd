// Opens the demo's HTML response page in headless Chromium, served over HTTP
// from the deployment's web root, follows the play link and checks that the
// sound file arrives whole.
//
//   node play_page_test.js        (VEMBA_BUILD_DIR picks the build, as for ./demo)
'use strict';

const assert = require('node:assert/strict');
const { execFile } = require('node:child_process');
const fs = require('node:fs');
const http = require('node:http');
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

const contentTypes = { '.wav': 'audio/wav', '.svg': 'image/svg+xml' };

// Response pages have no file name extension: the page name is the file name.
function contentTypeOf(file, data) {
  const known = contentTypes[path.extname(file)];
  if (known) return known;
  if (data.subarray(0, 5).toString() === '<?xml') return 'application/voicexml+xml';
  return 'text/html; charset=utf-8';
}

// A static file server for the web root; every request it answered is kept.
function serveWebRoot() {
  const served = [];
  const server = http.createServer((req, res) => {
    const urlPath = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    const file = path.resolve(webRoot, '.' + urlPath);
    let status = 200;
    let data = null;
    if (!file.startsWith(webRoot + path.sep)) {
      status = 403;
    } else {
      try {
        data = fs.readFileSync(file);
      } catch {
        status = 404;
      }
    }
    served.push({ path: urlPath, status });
    if (status !== 200) {
      res.writeHead(status, { 'Content-Type': 'text/plain' });
      res.end(String(status));
      return;
    }
    res.writeHead(200, { 'Content-Type': contentTypeOf(file, data), 'Content-Length': data.length });
    res.end(data);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => resolve({ server, served }));
  });
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

function runDemo(baseUrl) {
  return new Promise((resolve, reject) => {
    execFile(path.join(repo, 'demo'), ['MONEY 12.50', 'HTML'],
      { env: { ...process.env, DEMO_BASE_URL: baseUrl }, maxBuffer: 1 << 24 },
      (error, stdout, stderr) => {
        if (error) {
          reject(new Error(`./demo failed: ${error.message}\n${stdout}\n${stderr}`));
          return;
        }
        const wav = /^WAV: +(.*)$/m.exec(stdout);
        const page = /^Page: +(.*)$/m.exec(stdout);
        if (!wav || !page) {
          reject(new Error(`./demo printed no WAV and page paths:\n${stdout}`));
          return;
        }
        resolve({ wav: wav[1], page: page[1] });
      });
  });
}

async function main() {
  const { server, served } = await serveWebRoot();
  const baseUrl = `http://127.0.0.1:${server.address().port}`;
  const userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'vemba-chromium-'));
  let context = null;
  try {
    const demo = await runDemo(baseUrl);
    const wavBytes = fs.readFileSync(demo.wav);
    const pageUrl = baseUrl + '/' + path.relative(webRoot, demo.page).split(path.sep).join('/');
    const wavUrl = baseUrl + '/' + path.relative(webRoot, demo.wav).split(path.sep).join('/');

    context = await chromium.launchPersistentContext(userDataDir, {
      executablePath: chromiumPath, headless: true, args: chromiumArgs,
    });
    const page = context.pages()[0] || await context.newPage();

    const opened = await page.goto(pageUrl);
    assert.equal(opened.status(), 200, 'the page is served');
    assert.match(await page.content(), /Sound file was succesfully created/);
    const link = page.locator('a');
    assert.equal(await link.count(), 1, 'the page has one play link');
    assert.equal(await link.getAttribute('href'), wavUrl, 'the link points at the sound file');
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
    assert.ok(served.some((s) => s.path === new URL(wavUrl).pathname && s.status === 200));

    console.log(`ok: ${pageUrl} played ${wavUrl} (${wavBytes.length} bytes, ${seconds} s)`);
  } finally {
    if (context) await context.close();
    server.close();
    fs.rmSync(userDataDir, { recursive: true, force: true });
  }
}

main().catch((error) => {
  console.error('FAIL:', error.message);
  process.exit(1);
});
