// The game in Debian's Chromium, headless, as a player meets it: the page
// loads from a local server, the title is drawn, Enter starts a game,
// Escape pauses it, a drag steers the ball, a game on HARD ends in the
// "Last" list, a reload shows the same list from the browser's storage, and
// a larger page re-lays the game. The console must stay free of errors. Then
// two faults: a runtime error is shown on the page, and refused storage
// leaves the game playable with one failed save. Screenshots are kept in the
// artefacts folder.
//
//   node browser_test.mjs SITE_FOLDER ARTEFACT_FOLDER
// Environment: SOLBRIM_WEB_MEASURE_SECONDS (how long to count updates, 10 by default).
import { mkdirSync, writeFileSync } from "node:fs";
import { join, resolve } from "node:path";
import {
  atRuntimeReady, ballCentre, check, collectErrors, colours, count, differing, fail, finish, grab as grabCanvas, kLastList,
  latestListText, memoryRecord, openBrowser, recentGames, recordText, showsGameOver, showsPauseMenu, showsSky, showsTitle,
  sleep, steady, storeRecord, until, updateCount, updates,
} from "./harness.mjs";

const site = resolve(process.argv[2] ?? "build-web/site");
const artefacts = resolve(process.argv[3] ?? "build-web/browser-test");
const measureSeconds = Number(process.env.SOLBRIM_WEB_MEASURE_SECONDS ?? 10);
mkdirSync(artefacts, { recursive: true });

const kWidth = 640, kHeight = 480;
const kHard = 2;  // the third mode's table

// ---- pictures ---------------------------------------------------------------

// The canvas, kept as name in the artefacts folder when a name is given.
const grab = (page, name) => grabCanvas(page, name && join(artefacts, `${name}.png`));

// Keeps a passing screenshot as name, or a fresh one as name-timeout.
async function keep(page, shot, name) {
  if (shot) writeFileSync(join(artefacts, `${name}.png`), shot.png);
  else await grab(page, name + "-timeout");
  return shot;
}

// Waits for a screenshot that passes the test, kept as name.
async function waitFor(page, name, test, seconds) {
  return keep(page, await until(async () => {
    const s = await grab(page);
    return test(s) ? s : null;
  }, seconds), name);
}

// Waits until the title stands still with its lists in place: the menu
// slides in with the lists, so two screenshots in a row with the same side
// panel show it has arrived. The last one is kept as name.
async function waitForSettledTitle(page, name, seconds) {
  let previous = null;
  const shot = await steady(async () => {
    const s = await grab(page);
    const settled = previous && showsTitle(s) && showsTitle(previous) && differing(previous, s, 500, 0, 640, 480) === 0;
    previous = s;
    return settled ? s : null;
  }, seconds);
  return keep(page, shot, name);
}

// ---- input ------------------------------------------------------------------

// A key held until two screenshots in a row pass the test, then let go for
// two updates: the game takes a press once, and the next only after an
// update has seen everything let go. The last screenshot is kept as name;
// null when the test never passed.
async function hold(page, key, name, test, seconds = 10) {
  await page.keyboard.down(key);
  let shot;
  try {
    shot = await steady(async () => {
      const s = await grab(page);
      return test(s) ? s : null;
    }, seconds);
  } finally {
    await page.keyboard.up(key);
  }
  await updates(page, 2);
  return keep(page, shot, name);
}

// Held over two updates, as a player's press is, then let go for two: for
// the quick run on HARD, where the next step cannot wait for screenshots.
async function press(page, key) {
  await page.keyboard.down(key);
  await updates(page, 2);
  await page.keyboard.up(key);
  await updates(page, 2);
}

async function canvasOrigin(page) {
  const box = await page.locator("#canvas").boundingBox();
  return { x: box.x, y: box.y };
}

// The button held over two updates at (x, y) on the canvas, like press.
async function click(page, x, y) {
  const o = await canvasOrigin(page);
  await page.mouse.move(o.x + x, o.y + y);
  await page.mouse.down();
  await updates(page, 2);
  await page.mouse.up();
  await updates(page, 2);
}

// ---- the stored record ----------------------------------------------------

// A record whose settings and badge blocks are damaged (they reset alone)
// and whose HARD table holds two earlier games.
const seededRecord = () => recordText({ [kHard]: { best: [735, 415], recent: [415, 735] } }, { damaged: true });

// ---- the run ------------------------------------------------------------------

const browser = await openBrowser(site);
const { context, address } = browser;
const consoleErrors = [];
let page;
try {
  page = context.pages()[0] ?? (await context.newPage());
  collectErrors(page, consoleErrors);

  // The title.
  const loadStart = Date.now();
  await page.goto(address);
  const title = await waitFor(page, "01-title", showsTitle, 60);
  check(title !== null, "the title is drawn with its lists");
  if (!title) throw new Error("no title");
  const titleMs = Date.now() - loadStart;
  check(colours(title) > 300, `the title has hundreds of colours (${colours(title)})`);
  const canvasSize = await page.evaluate(() => [canvas.width, canvas.height]);
  check(canvasSize[0] === kWidth && canvasSize[1] === kHeight, `the canvas fits the page at 640 x 480 (${canvasSize})`);

  // Seed the record, reload: the HARD lists come from storage.
  await storeRecord(page, seededRecord());
  await page.reload();
  const normalSeeded = await waitForSettledTitle(page, "02-title-seeded", 60);
  if (!normalSeeded) throw new Error("no title after the reload");
  const hardBefore = await hold(page, "ArrowRight", "03-title-hard",
    (s) => showsTitle(s) && differing(normalSeeded, s, ...kLastList) > 50);
  check(hardBefore !== null, "ArrowRight selects HARD (its Last list replaces NORMAL's)");
  if (!hardBefore) throw new Error("HARD not selected");

  // Enter starts a game: the sky fills the canvas.
  await press(page, "Enter");
  check((await waitFor(page, "04-play", showsSky, 10)) !== null, "Enter starts a game (the sky fills the canvas)");

  // A drag to the left moves the ball to the left: one step an update
  // (the update in which the button goes down sees no movement), then
  // eighteen updates for the ball to travel.
  const o = await canvasOrigin(page);
  const before = ballCentre(await grab(page, "05-before-drag"));
  await page.mouse.move(o.x + 320, o.y + 240);
  await page.mouse.down();
  await updates(page, 1);
  for (let step = 1; step <= 12; step++) {
    await page.mouse.move(o.x + 320 - 14 * step, o.y + 240 - 3 * step);
    await updates(page, 1);
  }
  await updates(page, 18);
  const after = ballCentre(await grab(page, "06-dragged"));
  await page.mouse.up();
  check(before && after && after.x < before.x - 30, `a drag moves the ball (${before?.x?.toFixed(0)} -> ${after?.x?.toFixed(0)})`);

  // Escape opens the pause menu.
  await press(page, "Escape");
  check((await waitFor(page, "07-paused", showsPauseMenu, 5)) !== null, "Escape opens the pause menu");

  // Quitting from the pause menu ends the game on HARD.
  await click(page, 180, 184);
  check((await waitFor(page, "08-game-over", showsGameOver, 10)) !== null, "the game-over overlay appears");
  // The overlay withdraws and the menu slides back in.
  const hardAfter = await waitForSettledTitle(page, "10-title-after-game", 20);
  check(hardAfter && differing(hardBefore, hardAfter, ...kLastList) > 50, "the HARD game enters the Last list");
  const stored = await memoryRecord(page);
  const games = stored ? recentGames(stored, kHard) : [];
  check(games[1] === 415 && games[2] === 735, `the stored Last list moved down by one game (${games.slice(0, 4)})`);

  // A reload shows the same list, from IndexedDB.
  await page.reload();
  const normalReloaded = await waitForSettledTitle(page, "11-reloaded", 60);
  const reloaded = normalReloaded && await hold(page, "ArrowRight", "12-reloaded-hard",
    (s) => showsTitle(s) && differing(normalReloaded, s, ...kLastList) > 50);
  check(hardAfter && reloaded && differing(hardAfter, reloaded, ...kLastList) < 20,
        "after a reload the Last list is the same");
  const storedAgain = await memoryRecord(page);
  check(storedAgain === stored, "the stored record survived the reload");

  // A larger page re-lays the game to the new canvas: the lists move to its right edge.
  await page.setViewportSize({ width: 1180, height: 860 });
  const grown = await page.waitForFunction(() => canvas.width > 640 && canvas.height > 480 && canvas.width, null,
                                           { timeout: 5000 }).then((h) => h.jsonValue()).catch(() => 0);
  const big = grown ? await waitFor(page, "14-larger-page", (s) =>
    s.width === grown && count(s, s.width - 140, 0, s.width, s.height, latestListText) > 30, 5) : null;
  check(big !== null, `a larger page re-lays the game (canvas ${grown} wide)`);
  // A short page gives the header's and footer's height to the game, whose
  // canvas stays within the shapes it lays out (at most 16:9).
  await page.setViewportSize({ width: 1180, height: 300 });
  await updates(page, 2);  // whatever the resize sets off has run
  const short = await page.evaluate(() => [canvas.width, canvas.height, document.querySelector("header").offsetHeight]);
  check(short[0] === 533 && short[1] === 300 && short[2] === 0, `a short page is all game, at 16:9 (${short})`);
  await page.setViewportSize({ width: 1180, height: 860 });

  // The update rate over a stretch of play.
  await press(page, "Enter");
  await waitFor(page, "13-measure", showsSky, 10);
  const u0 = await updateCount(page);
  const t0 = Date.now();
  await sleep(measureSeconds * 1000);
  const u1 = await updateCount(page);
  const rate = ((u1 - u0) * 1000) / (Date.now() - t0);
  console.log(`measured: load to title ${titleMs} ms; ${rate.toFixed(1)} updates per second over ${measureSeconds} s`);
  check(u1 > u0, "the game keeps updating");

  check(consoleErrors.length === 0, `the console has no errors${consoleErrors.length ? ": " + consoleErrors.join(" | ") : ""}`);

  // A runtime error (an atlas too small for its frames) is shown over the
  // canvas and in the console, and the frames stop.
  const broken = await context.newPage();
  const brokenErrors = [];
  collectErrors(broken, brokenErrors);
  await broken.addInitScript(atRuntimeReady((module) => {
    // A 1 x 1 picture, far too small for the frames cut from it.
    const tiny = Uint8Array.from(atob("iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg=="),
                                 (c) => c.charCodeAt(0));
    for (const suffix of ["", "-hd", "-hd2"]) module.FS.writeFile(`/data/parts${suffix}.png`, tiny);
  }));
  await broken.goto(address);
  const shown = await broken.locator("#message.error").textContent({ timeout: 60000 }).catch(() => "");
  await broken.screenshot({ path: join(artefacts, "15-runtime-error.png") });
  check(shown.includes("Vellum Runtime Error : Image frame outside surface"), `a runtime error is shown on the page (${shown})`);
  check(brokenErrors.some((e) => e.includes("Image frame outside surface")), "the runtime error is in the console");
  await broken.close();

  // Storage refused (as in some private windows): the game plays, and a
  // finished game's save reports its failure once, without console errors.
  const refused = await context.newPage();
  const refusedLog = [], refusedErrors = [];
  refused.on("console", (m) => {
    refusedLog.push(m.text());
    if (m.type() === "error") refusedErrors.push(m.text());
  });
  refused.on("pageerror", (e) => refusedErrors.push(String(e)));
  await refused.addInitScript(() => {
    IDBFactory.prototype.open = () => { throw new DOMException("refused", "SecurityError"); };
  });
  await refused.goto(address);
  check((await waitForSettledTitle(refused, "16-no-storage-title", 60)) !== null, "without storage the title is drawn");
  await press(refused, "Enter");
  await waitFor(refused, "17-no-storage-play", showsSky, 10);
  await press(refused, "Escape");
  await waitFor(refused, "18-no-storage-paused", showsPauseMenu, 5);
  await click(refused, 180, 184);
  const overNoStorage = await waitFor(refused, "19-no-storage-game-over", showsGameOver, 10);
  // The record is saved when the overlay hands back to the title.
  await waitFor(refused, "20-no-storage-title-again", showsTitle, 20);
  const failedSaves = refusedLog.filter((line) => line === "Saving the game state failed").length;
  check(overNoStorage !== null && failedSaves === 1, `without storage the game ends normally and its save fails once (${failedSaves})`);
  check(refusedErrors.length === 0, `without storage the console has no errors${refusedErrors.length ? ": " + refusedErrors.join(" | ") : ""}`);
  await refused.close();
} catch (error) {
  fail(error);
  if (page) await page.screenshot({ path: join(artefacts, "error-page.png") }).catch(() => {});
} finally {
  await browser.close();
}

finish();
