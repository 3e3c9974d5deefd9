// What the browser tests share: counting checks, Debian's headless Chromium
// on the site served at a free local port, waiting (on a condition, or on
// the game's own update count), pictures of the canvas as pixels and the
// game's colours in them, hooking the page before the game starts, and the
// saved record's text.
//
// Pictures are decoded here rather than in the page, so that looking at the
// game never runs a script there (Playwright's page.evaluate counts as a
// user gesture, which would start the sound by itself).
import { mkdtempSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { inflateSync } from "node:zlib";
import { chromium } from "playwright-core";
import { serve } from "../../web/serve.mjs";

// ---- checks -------------------------------------------------------------------

const failures = [];
let passed = 0;

export function check(condition, what) {
  if (condition) {
    passed += 1;
    console.log(`ok: ${what}`);
  } else {
    fail(what);
  }
}

// A failed check, or an error that stopped part of a run.
export function fail(what) {
  failures.push(String(what));
  console.log(`FAILED: ${what}`);
}

// The closing line that scripts/web-test adds up, and the exit status.
export function finish() {
  console.log(`browser tests: ${passed} passed, ${failures.length} failed`);
  process.exit(failures.length ? 1 : 0);
}

// ---- the browser ----------------------------------------------------------------

// As wide as the game's first window: the page fits the canvas at 640 x 480.
export const kDesktopPage = { viewport: { width: 640, height: 640 } };

// Debian's Chromium with the browser's own autoplay policy: sound starts
// only from a gesture, as for a player.
const kChromium = {
  executablePath: "/usr/bin/chromium",
  headless: true,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync"],
};

// A browser for contexts of their own (browser.newContext).
export const launchBrowser = () => chromium.launch(kChromium);

// A browser on a profile folder that outlives it, with the desktop page.
export const launchWithProfile = (profile) =>
  chromium.launchPersistentContext(profile, { ...kChromium, ...kDesktopPage });

// The site at a local address; close() stops the server.
export async function serveSite(site) {
  const server = await serve(site, 0);
  return { server, address: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// The site at a local address and a desktop page's browser on a fresh
// profile, whose pages share one storage; close() ends both and removes
// the profile.
export async function openBrowser(site) {
  const served = await serveSite(site);
  const profile = mkdtempSync(join(tmpdir(), "solbrim-chromium-"));
  const context = await launchWithProfile(profile);
  return {
    context,
    address: served.address,
    close: async () => {
      await context.close();
      served.close();
      rmSync(profile, { recursive: true, force: true });
    },
  };
}

// Gathers the page's console errors and uncaught exceptions into errors.
export function collectErrors(page, errors) {
  page.on("console", (m) => { if (m.type() === "error") errors.push(m.text()); });
  page.on("pageerror", (e) => errors.push(String(e)));
}

// ---- waiting --------------------------------------------------------------------

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Polls test() until it gives something other than null, undefined or
// false (a test that throws has not passed yet), or the deadline passes;
// that value, or null.
export async function until(test, seconds) {
  const deadline = Date.now() + seconds * 1000;
  for (;;) {
    const value = await Promise.resolve().then(test).catch(() => null);
    if (value !== null && value !== undefined && value !== false) return value;
    if (Date.now() > deadline) return null;
    await sleep(50);
  }
}

// As until, but a missed deadline is an error naming what did not happen.
export async function need(test, seconds, what) {
  const value = await until(test, seconds);
  if (value === null) throw new Error(`timed out: ${what}`);
  return value;
}

// Polls test() until it gives something other than null on two polls in a
// row (a screenshot can catch a half-drawn frame, so one alone proves
// nothing), or the deadline passes; the last value, or null.
export async function steady(test, seconds) {
  let hits = 0;
  return until(async () => {
    const value = await test();
    hits = value === null ? 0 : hits + 1;
    return hits >= 2 ? value : null;
  }, seconds);
}

// The game's update count (Module._SolbrimUpdates), 0 before it runs.
const kUpdateCount = "typeof Module === 'object' && Module._SolbrimUpdates ? Module._SolbrimUpdates() : 0";

// The update count read by `read(expression)`: page.evaluate by default,
// or the DevTools protocol where a script must not count as a gesture.
export const updateCount = (page, read = (e) => page.evaluate(e)) => read(kUpdateCount);

// The game has read its data (the record among it) 19 updates after it
// starts; by this many its title runs.
export const kTitleUpdates = 40;

// Waits until the game is past loading; a test's change to its data before
// then would be overwritten.
export async function afterLoading(page, seconds = 60, read = (e) => page.evaluate(e)) {
  if (!(await until(async () => (await read(kUpdateCount)) >= kTitleUpdates, seconds)))
    throw new Error("the game did not finish loading");
}

// Waits until the game has run `count` more updates, so that it has seen
// whatever input came before.
export async function updates(page, count, read = (e) => page.evaluate(e)) {
  const target = (await read(kUpdateCount)) + count;
  if (!(await until(async () => (await read(kUpdateCount)) >= target, 20)))
    throw new Error(`the game stopped updating (waiting for ${count} updates)`);
}

// ---- pictures -------------------------------------------------------------------

// An 8-bit, non-interlaced RGB or RGBA PNG (what Chromium's screenshots
// are) as { width, height, rgba }.
export function decodePng(png) {
  let offset = 8, width = 0, height = 0, channels = 0;
  const data = [];
  while (offset < png.length) {
    const length = png.readUInt32BE(offset), type = png.toString("latin1", offset + 4, offset + 8);
    const body = png.subarray(offset + 8, offset + 8 + length);
    if (type === "IHDR") {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const depth = body[8], colour = body[9], interlace = body[12];
      if (depth !== 8 || (colour !== 2 && colour !== 6) || interlace !== 0) throw new Error("unsupported PNG");
      channels = colour === 6 ? 4 : 3;
    } else if (type === "IDAT") {
      data.push(body);
    }
    offset += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const stride = width * channels, rgba = new Uint8Array(width * height * 4);
  let previous = new Uint8Array(stride), row = new Uint8Array(stride);
  for (let y = 0; y < height; y++) {
    const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; i++) {
      const a = i >= channels ? row[i - channels] : 0, b = previous[i], c = i >= channels ? previous[i - channels] : 0;
      row[i] = (line[i] + unfilter(filter, a, b, c)) & 255;
    }
    for (let x = 0; x < width; x++) {
      rgba.set(row.subarray(x * channels, x * channels + 3), 4 * (y * width + x));
      rgba[4 * (y * width + x) + 3] = channels === 4 ? row[x * channels + 3] : 255;
    }
    [previous, row] = [row, previous];
  }
  return { width, height, rgba };
}

function unfilter(filter, a, b, c) {
  switch (filter) {
    case 1: return a;
    case 2: return b;
    case 3: return (a + b) >> 1;
    case 4: {
      const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
      return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
    }
    default: return 0;
  }
}

// The canvas as { width, height, rgba, png }; the PNG is also written to
// file when one is given.
export async function grab(page, file) {
  const png = await page.locator("#canvas").screenshot();
  if (file) writeFileSync(file, png);
  return { ...decodePng(png), png };
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

export function colours(shot) {
  const seen = new Set();
  for (let i = 0; i < shot.rgba.length; i += 4) seen.add((shot.rgba[i] << 16) | (shot.rgba[i + 1] << 8) | shot.rgba[i + 2]);
  return seen.size;
}

// Pixels that differ by more than a little inside [x0, x1) x [y0, y1).
export function differing(a, b, x0, y0, x1, y1) {
  let n = 0;
  for (let y = y0; y < y1; y++)
    for (let x = x0; x < x1; x++) {
      const i = 4 * (y * a.width + x);
      const d = Math.abs(a.rgba[i] - b.rgba[i]) + Math.abs(a.rgba[i + 1] - b.rgba[i + 1]) + Math.abs(a.rgba[i + 2] - b.rgba[i + 2]);
      if (d > 60) n++;
    }
  return n;
}

// ---- the game's colours, in its 640-pixel-wide virtual screen ------------------------

export const lightSky = (r, g, b) => b > 200 && r > 70 && r < 200 && g > 130 && g < 230;
export const latestListText = (r, g, b) => r > 160 && r < 235 && g > 215 && b > 60 && b < 140;
export const pausePanelOrange = (r, g, b) => r > 170 && g > 80 && g < 170 && b < 90;
export const overlayYellow = (r, g, b) => r > 110 && g > 110 && b < 60 && Math.abs(r - g) < 40;

// The "Last" list, cut out of the title's side panel of a 480-high screen.
export const kLastList = [500, 260, 640, 440];

// The title: hundreds of colours, and the "Last" list in its side panel.
export const showsTitle = (s) => colours(s) > 300 && count(s, ...kLastList, latestListText) > 30;
export const showsSky = (s) => count(s, 0, 0, s.width, s.height, lightSky) > s.width * s.height * 0.4;
// The pause menu comes to rest at this height (it moves 24 pixels an update).
export const pauseMenuY = (s) => { let y = -64; while (y < s.height * 0.5) y += 24; return y; };
export const showsPauseMenu = (s) => count(s, 200, pauseMenuY(s) - 18, 270, pauseMenuY(s) + 42, pausePanelOrange) > 3800;
export const showsGameOver = (s) => count(s, 0, 206, 300, 226, overlayYellow) > 2000;

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

// ---- the page -------------------------------------------------------------------

// An init script (for addInitScript) that calls body(Module) once the game's
// runtime is ready, before the game starts: the page's own Module object
// is caught as it is set. body runs in the page, so it uses nothing from here.
export function atRuntimeReady(body) {
  return `(${catchModule})(${body});`;
}

function catchModule(body) {
  let module;
  Object.defineProperty(window, "Module", {
    configurable: true,
    get: () => module,
    set: (value) => {
      module = value;
      // The game's script sets it again, to the same object.
      if (value.caughtBeforeStart) return;
      value.caughtBeforeStart = true;
      const initialized = value.onRuntimeInitialized;
      value.onRuntimeInitialized = () => {
        body(module);
        initialized();
      };
    },
  });
}

// ---- the saved record --------------------------------------------------------------

// The record's layout (game/shell/saved_record.h): the settings and their
// checksum, the badge words and theirs, then one table per mode, which
// interleaves its best and recent games and closes with its checksum.
const kSettings = 25, kBadgeWords = 8;
export const kModes = 3, kPlaces = 10;
const kTableStart = kSettings + 1 + kBadgeWords + 1, kTableFields = 2 * kPlaces + 1;
export const kRecordPath = "/persist/.vellumstate";

// A record's text with zeroed settings and badges (their checksums 1 when
// `damaged`, so that they reset alone) and the given games per mode:
// tables[mode] = { best, recent }, lists of scores, empty places zero.
export function recordText(tables, { damaged = false } = {}) {
  const fields = [...new Array(kSettings).fill(0), damaged ? 1 : 0, ...new Array(kBadgeWords).fill(0), damaged ? 1 : 0];
  for (let mode = 0; mode < kModes; mode++) {
    const place = (list, i) => list?.[i] ?? 0;
    let sum = 0;
    for (let i = 0; i < kPlaces; i++) {
      const best = place(tables[mode]?.best, i), recent = place(tables[mode]?.recent, i);
      fields.push(best, recent);
      sum += (i + 4) * best + (i + 3 + mode) * recent;
    }
    fields.push(sum);
  }
  return fields.map((f) => `${f}|`).join("");
}

// The recent games of a mode in a record's text.
export function recentGames(text, mode) {
  const fields = text.split("|").map(Number);
  return Array.from({ length: kPlaces }, (_, i) => fields[kTableStart + kTableFields * mode + 2 * i + 1]);
}

// The record in the page's in-memory folder, or null.
export const memoryRecord = (page) => page.evaluate((path) => {
  try {
    return Module.FS.readFile(path, { encoding: "utf8" });
  } catch {
    return null;
  }
}, kRecordPath);

// The record in the browser's storage (IndexedDB), or null.
export const storedRecord = (page) => page.evaluate((path) => new Promise((done) => {
  const open = indexedDB.open("/persist");
  open.onerror = () => done(null);
  open.onsuccess = () => {
    const get = open.result.transaction(["FILE_DATA"], "readonly").objectStore("FILE_DATA").get(path);
    get.onerror = () => done(null);
    get.onsuccess = () => done(get.result ? new TextDecoder().decode(get.result.contents) : null);
  };
}), kRecordPath);

// Writes a record into the page's folder and waits until the browser's
// storage holds it. The page stores nothing after that: its game never
// loaded this record, and would store its own over it at its next save (it
// saves when the page is hidden or closed).
export async function storeRecord(page, text) {
  await afterLoading(page);
  await page.evaluate(([path, body]) => {
    Module.FS.writeFile(path, body);
    Module.solbrimStoreRecord();
    Module.solbrimStoreRecord = () => {};
  }, [kRecordPath, text]);
  if (!(await until(async () => (await storedRecord(page)) === text, 20))) throw new Error("the record was not stored");
}
