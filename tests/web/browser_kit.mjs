// What the browser tests share: their checks and closing line, the site
// served on a free local port to Debian's Chromium (headless, with a fresh
// profile), and waiting on the game's own update count.
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { serve } from "../../web/serve.mjs";

const failures = [];
let passed = 0;

export function check(condition, what) {
  if (condition) {
    passed += 1;
    console.log(`ok: ${what}`);
  } else {
    failures.push(what);
    console.log(`FAILED: ${what}`);
  }
}

// Counts an error that stopped the run as one failure.
export function fail(error) {
  failures.push(String(error));
  console.log(`FAILED: ${error}`);
}

// Prints the closing line and exits with the run's status.
export function finish() {
  console.log(`browser tests: ${passed} passed, ${failures.length} failed`);
  process.exit(failures.length ? 1 : 0);
}

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// The site at a local address and a browser whose pages share one profile
// (so one storage); close() ends both and removes the profile.
export async function openBrowser(site) {
  const server = await serve(site, 0);
  const profile = mkdtempSync(join(tmpdir(), "solbrim-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: "/usr/bin/chromium",
    headless: true,
    // As wide as the game's first window: the page fits the canvas at 640 x 480.
    viewport: { width: 640, height: 640 },
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync"],
  });
  return {
    context,
    address: `http://127.0.0.1:${server.address().port}/`,
    close: async () => {
      await context.close();
      server.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Waits until the game has run `count` more updates (Module._SolbrimUpdates
// counts them), so that it has seen whatever input came before.
export async function updates(page, count) {
  const from = await page.evaluate(() => Module._SolbrimUpdates());
  await page.waitForFunction((until) => Module._SolbrimUpdates() >= until, from + count, { timeout: 10000 });
}

// The canvas as RGBA bytes, decoded by the page itself from a screenshot
// (a WebGL canvas cannot be read back directly); the PNG is also written to
// file when one is given.
export async function grabCanvas(page, file) {
  const png = await page.locator("#canvas").screenshot();
  if (file) writeFileSync(file, png);
  const base64 = await page.evaluate(async (data) => {
    const image = new Image();
    image.src = "data:image/png;base64," + data;
    await image.decode();
    const canvas = document.createElement("canvas");
    canvas.width = image.width;
    canvas.height = image.height;
    const context = canvas.getContext("2d");
    context.drawImage(image, 0, 0);
    const bytes = context.getImageData(0, 0, image.width, image.height).data;
    let text = "";
    for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode.apply(null, bytes.subarray(i, i + 0x8000));
    return [image.width, image.height, btoa(text)];
  }, png.toString("base64"));
  return { width: base64[0], height: base64[1], rgba: new Uint8Array(Buffer.from(base64[2], "base64")), png };
}

// Pixels of a grabbed canvas in [x0, x1) x [y0, y1) whose colour passes the test.
export function count(shot, x0, y0, x1, y1, test) {
  let n = 0;
  for (let y = Math.max(0, y0); y < Math.min(shot.height, y1); y++)
    for (let x = Math.max(0, x0); x < Math.min(shot.width, x1); x++) {
      const i = 4 * (y * shot.width + x);
      if (test(shot.rgba[i], shot.rgba[i + 1], shot.rgba[i + 2])) n++;
    }
  return n;
}
