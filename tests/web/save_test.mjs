// The record's way into the browser's storage, in Debian's Chromium,
// headless. A finished game is saved into the page's in-memory folder at
// once; its copy into IndexedDB follows. Here the first copy fails: the
// console must say why, and hiding the page must store the record after
// all. Then a game is finished and the page closed right after the overlay:
// a new page must show both games.
//
//   node save_test.mjs SITE_FOLDER ARTEFACT_FOLDER
import { mkdirSync } from "node:fs";
import { join, resolve } from "node:path";
import { check, count, fail, finish, grabCanvas, openBrowser, sleep, updates } from "./browser_kit.mjs";

const site = resolve(process.argv[2] ?? "build-web/site");
const artefacts = resolve(process.argv[3] ?? "build-web/save-test");
mkdirSync(artefacts, { recursive: true });

// Polls check() until it returns something other than null, or the deadline
// passes; the last value, or null.
async function until(check, seconds) {
  const deadline = Date.now() + seconds * 1000;
  do {
    const value = await check();
    if (value !== null && value !== undefined && value !== false) return value;
    await sleep(100);
  } while (Date.now() < deadline);
  return null;
}

// ---- the screen -------------------------------------------------------------

// The canvas's pixels, kept as name in the artefacts folder when a name is given.
const grab = (page, name) => grabCanvas(page, name && join(artefacts, `${name}.png`));

// The title's "Last" list, the sky of a game, the pause menu's panel.
const latestListText = (r, g, b) => r > 160 && r < 235 && g > 215 && b > 60 && b < 140;
const lightSky = (r, g, b) => b > 200 && r > 70 && r < 200 && g > 130 && g < 230;
const pausePanelOrange = (r, g, b) => r > 170 && g > 80 && g < 170 && b < 90;
const showsTitle = async (page, name) => count(await grab(page, name), 500, 260, 640, 440, latestListText) > 30;
const showsSky = async (page, name) => count(await grab(page, name), 0, 0, 640, 480, lightSky) > 640 * 480 * 0.4;
const showsPauseMenu = async (page, name) => count(await grab(page, name), 200, 230, 270, 290, pausePanelOrange) > 3800;

// ---- input ----------------------------------------------------------------

// A key held until the screen shows the test's answer (or the deadline), then
// let go over two updates, as a player presses it.
async function holdUntil(page, key, shows, name, seconds = 10) {
  await page.keyboard.down(key);
  let shown;
  try {
    shown = await until(() => shows(page, name), seconds);
  } finally {
    await page.keyboard.up(key);
  }
  await updates(page, 2);
  return shown !== null;
}

// Starts a game on the chosen mode and quits it from the pause menu, with
// beforeQuit run on the menu; true when each step showed.
async function playAndQuit(page, tag, beforeQuit = async () => {}) {
  if (!(await holdUntil(page, "Enter", showsSky, `${tag}-play`))) return false;
  if (!(await holdUntil(page, "Escape", showsPauseMenu, `${tag}-paused`))) return false;
  await beforeQuit();
  const box = await page.locator("#canvas").boundingBox();
  await page.mouse.move(box.x + 180, box.y + 184);  // the pause menu's quit button
  await page.mouse.down();
  await updates(page, 2);
  await page.mouse.up();
  return true;
}

// ---- the record ---------------------------------------------------------------

// The record's layout (game/shell/saved_record.h): 25 settings and their
// checksum, 8 badge words and theirs, then per mode the best and recent
// games interleaved and their checksum.
const kSettings = 25, kBadgeWords = 8, kModes = 3, kPlaces = 10;
const kTableStart = kSettings + 1 + kBadgeWords + 1, kTableFields = 2 * kPlaces + 1;
const kEarlierGame = 321;  // the last game of every mode in the seeded record

function seededRecord() {
  const fields = new Array(kSettings + 1 + kBadgeWords + 1).fill(0);  // zero blocks, zero checksums
  for (let mode = 0; mode < kModes; mode++) {
    const best = new Array(kPlaces).fill(0), recent = new Array(kPlaces).fill(0);
    best[0] = recent[0] = kEarlierGame;
    let sum = 0;
    for (let i = 0; i < kPlaces; i++) {
      fields.push(best[i], recent[i]);
      sum += (i + 4) * best[i] + (i + 3 + mode) * recent[i];
    }
    fields.push(sum);
  }
  return fields.map((f) => `${f}|`).join("");
}

// How many games were played after the seeded one in the mode that was
// played: the place the earlier game has moved down to.
function gamesSinceSeed(text) {
  if (!text) return -1;
  const fields = text.split("|").map(Number);
  let moved = 0;
  for (let mode = 0; mode < kModes; mode++)
    for (let i = 0; i < kPlaces; i++)
      if (fields[kTableStart + kTableFields * mode + 2 * i + 1] === kEarlierGame) moved = Math.max(moved, i);
  return moved;
}

// The record in the page's in-memory folder, and in the browser's storage.
const memoryRecord = (page) => page.evaluate(() => {
  try {
    return Module.FS.readFile("/persist/.vellumstate", { encoding: "utf8" });
  } catch {
    return null;
  }
});
const storedRecord = (page) => page.evaluate(() => new Promise((done) => {
  const open = indexedDB.open("/persist");
  open.onerror = () => done(null);
  open.onsuccess = () => {
    const get = open.result.transaction(["FILE_DATA"], "readonly").objectStore("FILE_DATA").get("/persist/.vellumstate");
    get.onerror = () => done(null);
    get.onsuccess = () => done(get.result ? new TextDecoder().decode(get.result.contents) : null);
  };
}));

// ---- the run ------------------------------------------------------------------

const browser = await openBrowser(site);
const { context, address } = browser;
// While failStores is above zero, each write into the browser's storage
// fails as a full disk would.
await context.addInitScript(() => {
  window.failStores = 0;
  const put = IDBObjectStore.prototype.put;
  IDBObjectStore.prototype.put = function (...args) {
    if (window.failStores > 0) {
      window.failStores -= 1;
      throw new DOMException("the disk is full", "QuotaExceededError");
    }
    return put.apply(this, args);
  };
});

async function openGame(name) {
  const page = await context.newPage();
  const log = [];
  page.on("console", (m) => log.push(`${m.type()}: ${m.text()}`));
  page.on("pageerror", (e) => log.push(`error: ${e}`));
  await page.goto(address);
  const title = await until(() => showsTitle(page, name), 60);
  return { page, log, title: title !== null };
}

try {
  // A record with one earlier game in every mode, stored before the page loads it.
  const seeding = await openGame("01-title");
  if (!seeding.title) throw new Error("no title");
  await seeding.page.evaluate((text) => new Promise((done) => {
    Module.FS.writeFile("/persist/.vellumstate", text);
    Module.FS.syncfs(false, done);
  }), seededRecord());
  await seeding.page.close();

  // The first copy into storage fails; the console says why, and storage
  // keeps the record from before the game.
  const first = await openGame("02-title-seeded");
  check(first.title, "the title is drawn over the seeded record");
  const failNextCopy = () => first.page.evaluate(() => { window.failStores = 1; });
  check(await playAndQuit(first.page, "03", failNextCopy), "a game starts and is quit from the pause menu");
  const saved = await until(async () => gamesSinceSeed(await memoryRecord(first.page)) === 1 || null, 20);
  check(saved !== null, "the finished game is saved in the page");
  const warned = await until(() => first.log.find((line) => line.includes("the record could not be stored")) ?? null, 10);
  check(warned?.includes("the disk is full"), `the failed copy names its reason in the console (${warned})`);
  check(gamesSinceSeed(await storedRecord(first.page)) === 0, "storage still holds the record from before the game");

  // The page is hidden: its frames stop, as a browser stops them, and the
  // record the failed copy left behind is stored all the same.
  await first.page.evaluate(() => {
    Module.pauseMainLoop();
    Object.defineProperty(document, "visibilityState", { configurable: true, get: () => "hidden" });
    Object.defineProperty(document, "hidden", { configurable: true, get: () => true });
    document.dispatchEvent(new Event("visibilitychange"));
  });
  const caughtUp = await until(async () => gamesSinceSeed(await storedRecord(first.page)) === 1 || null, 10);
  check(caughtUp !== null, "hiding the page stores the finished game");
  await first.page.close();

  // Another game, and the page closed as soon as the title is back.
  const second = await openGame("04-title-after-hidden");
  check(gamesSinceSeed(await memoryRecord(second.page)) === 1, "a new page loads the game the hidden page stored");
  check(await playAndQuit(second.page, "05"), "a second game starts and is quit");
  const back = await until(async () => gamesSinceSeed(await memoryRecord(second.page)) === 2 &&
    (await showsTitle(second.page, "06-title-again")) || null, 20);
  check(back !== null, "the second game is saved and the title is back");
  await second.page.close();

  const third = await openGame("07-title-new-page");
  check(gamesSinceSeed(await memoryRecord(third.page)) === 2, "a new page shows both games");
  const warnings = third.log.filter((line) => line.startsWith("error") || line.includes("could not be stored"));
  check(warnings.length === 0, `the new page has no errors${warnings.length ? ": " + warnings.join(" | ") : ""}`);
  await third.page.close();
} catch (error) {
  fail(error);
} finally {
  await browser.close();
}

finish();
