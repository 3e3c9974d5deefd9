// What the browser tests share: the local server and Debian's headless
// Chromium, the tally of checks with its closing line, the page's console
// errors, screenshots of the canvas as pixels, the colours of the play
// field and the pause menu, the ball's place, and waiting for the game's
// own updates.
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";
import { serve } from "../../web/serve.mjs";

export const kWidth = 640, kHeight = 480;

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Passed and failed checks, each printed as it comes.
export class Checks {
  passed = 0;
  failures = [];

  check(condition, what) {
    if (condition) {
      this.passed += 1;
      console.log(`ok: ${what}`);
    } else {
      this.fail(what);
    }
  }

  fail(what) {
    this.failures.push(what);
    console.log(`FAILED: ${what}`);
  }

  // The closing line that scripts/web-test reads, and the exit status.
  finish() {
    console.log(`browser tests: ${this.passed} passed, ${this.failures.length} failed`);
    process.exit(this.failures.length ? 1 : 0);
  }
}

// The site served on a free local port and a fresh Chromium profile;
// close() ends both.
export async function openBrowser(site) {
  const server = await serve(site, 0);
  const address = `http://127.0.0.1:${server.address().port}/`;
  const profile = mkdtempSync(join(tmpdir(), "solbrim-chromium-"));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: "/usr/bin/chromium",
    headless: true,
    viewport: { width: 900, height: 640 },
    args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
           "--disable-component-update", "--disable-sync", "--autoplay-policy=no-user-gesture-required"],
  });
  const close = async () => {
    await context.close();
    server.close();
    rmSync(profile, { recursive: true, force: true });
  };
  return { address, context, close };
}

// Gathers the page's console errors and uncaught exceptions into errors.
export function collectErrors(page, errors) {
  page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
  page.on("pageerror", (e) => errors.push(String(e)));
}

// The canvas as RGBA bytes, decoded by the page itself from a screenshot;
// kept as <name>.png in the artefacts folder when a name is given.
export async function grab(page, artefacts, name) {
  const png = await page.locator("#canvas").screenshot();
  if (name) writeFileSync(join(artefacts, `${name}.png`), png);
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

// Pixels in [x0, x1) x [y0, y1) whose colour passes the test.
export function count(shot, x0, y0, x1, y1, test) {
  let n = 0;
  for (let y = Math.max(0, y0); y < Math.min(shot.height, y1); y++)
    for (let x = Math.max(0, x0); x < Math.min(shot.width, x1); x++) {
      const i = 4 * (y * shot.width + x);
      if (test(shot.rgba[i], shot.rgba[i + 1], shot.rgba[i + 2])) n++;
    }
  return n;
}

// The centre of the ball's pixels (black, or green while it is protected),
// leaving out the green score digits; null when there are too few.
const ballColour = (r, g, b) => r + g + b < 60 || (g > r + 40 && g > b + 10);
export function ballCentre(shot) {
  let n = 0, sx = 0, sy = 0;
  for (let y = 0; y < shot.height; y++)
    for (let x = 0; x < shot.width; x++) {
      if (y < 45 && x > 240 && x < 400) continue;
      const i = 4 * (y * shot.width + x);
      if (ballColour(shot.rgba[i], shot.rgba[i + 1], shot.rgba[i + 2])) {
        n++;
        sx += x;
        sy += y;
      }
    }
  return n > 100 ? { x: sx / n, y: sy / n, n } : null;
}

const lightSky = (r, g, b) => b > 200 && r > 70 && r < 200 && g > 130 && g < 230;
const pausePanelOrange = (r, g, b) => r > 170 && g > 80 && g < 170 && b < 90;
export const showsSky = (s) => count(s, 0, 0, kWidth, kHeight, lightSky) > kWidth * kHeight * 0.4;
export const showsPauseMenu = (s) => count(s, 200, 230, 270, 290, pausePanelOrange) > 3800;

// Waits until the game has run `count` more updates (Module._SolbrimUpdates
// counts them), so that it has seen whatever input came before.
export async function updates(page, count) {
  const from = await page.evaluate(() => Module._SolbrimUpdates());
  await page.waitForFunction((until) => Module._SolbrimUpdates() >= until, from + count, { timeout: 10000 });
}
