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
import {
  check, fail, finish, grab as grabCanvas, kModes, memoryRecord, openBrowser, recentGames, recordText,
  showsPauseMenu as pauseMenuIn, showsSky as skyIn, showsTitle as titleIn, storedRecord, storeRecord, until, updates,
} from "./harness.mjs";

const site = resolve(process.argv[2] ?? "build-web/site");
const artefacts = resolve(process.argv[3] ?? "build-web/save-test");
mkdirSync(artefacts, { recursive: true });

// ---- the screen -------------------------------------------------------------

// The canvas's pixels, kept as name in the artefacts folder when a name is given.
const grab = (page, name) => grabCanvas(page, name && join(artefacts, `${name}.png`));

// Whether a fresh screenshot shows the title, the sky of a game, the pause menu.
const shows = (test) => async (page, name) => test(await grab(page, name));
const showsTitle = shows(titleIn), showsSky = shows(skyIn), showsPauseMenu = shows(pauseMenuIn);

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

const kEarlierGame = 321;  // the last game of every mode in the seeded record

// Zero settings and badges, and one earlier game in every mode.
const seededRecord = () => recordText(Array.from({ length: kModes }, () => ({ best: [kEarlierGame], recent: [kEarlierGame] })));

// How many games were played after the seeded one in the mode that was
// played: the place the earlier game has moved down to.
function gamesSinceSeed(text) {
  if (!text) return -1;
  let moved = 0;
  for (let mode = 0; mode < kModes; mode++)
    recentGames(text, mode).forEach((game, place) => { if (game === kEarlierGame) moved = Math.max(moved, place); });
  return moved;
}

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
  await storeRecord(seeding.page, seededRecord());
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
