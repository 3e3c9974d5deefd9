// A gamepad and the keyboard playing the game in Debian's Chromium,
// headless. Chromium has no virtual pad, so the page's
// navigator.getGamepads is replaced before anything loads by one that
// reports a pad in the browser's standard layout whose state the test sets.
// The footer names the pad once it is connected, A starts a game, the
// arrow keys steer the ball, a full-tilt stick steers it back, and Start
// pauses. Keys and stick are held for a number of the game's updates, not
// for as long as screenshots take, so a slow machine does not let the ball
// run into the edges until the game is over. The console must stay free of errors. Screenshots are kept in the
// artefacts folder.
//
//   node gamepad_test.mjs SITE_FOLDER ARTEFACT_FOLDER
import { mkdirSync } from "node:fs";
import { join, resolve } from "node:path";
import {
  ballCentre, check, collectErrors, fail, finish, grab as grabCanvas, openBrowser, showsPauseMenu, showsSky,
  showsTitle as titleIn, steady, updates,
} from "./harness.mjs";

const site = resolve(process.argv[2] ?? "build-web/site");
const artefacts = resolve(process.argv[3] ?? "build-web/gamepad-test");
mkdirSync(artefacts, { recursive: true });

// The standard layout's button numbers.
const kA = 0, kStart = 9;

// ---- the pad ------------------------------------------------------------------

// Runs in the page before its scripts: a pad that is absent until the test
// plugs it in, with seventeen buttons and four axes.
function installPad() {
  const pad = {
    id: "Sol Brim test pad (STANDARD GAMEPAD)",
    index: 0,
    mapping: "standard",
    connected: false,
    timestamp: 0,
    axes: [0, 0, 0, 0],
    buttons: Array.from({ length: 17 }, () => ({ pressed: false, touched: false, value: 0 })),
  };
  window.testPad = pad;
  Object.defineProperty(Navigator.prototype, "getGamepads", {
    configurable: true,
    value: () => [pad.connected ? pad : null, null, null, null],
  });
}

async function setPad(page, change) {
  await page.evaluate((c) => {
    const pad = window.testPad;
    if (c.connected !== undefined && c.connected !== pad.connected) {
      pad.connected = c.connected;
      window.dispatchEvent(new Event(c.connected ? "gamepadconnected" : "gamepaddisconnected"));
    }
    if (c.axes) pad.axes = c.axes;
    for (const [b, down] of Object.entries(c.buttons ?? {})) {
      pad.buttons[b] = { pressed: down, touched: down, value: down ? 1 : 0 };
    }
    pad.timestamp += 1;
  }, change);
}

// ---- pictures ---------------------------------------------------------------

// The canvas's pixels, kept as name in the artefacts folder when a name is given.
const grab = (page, name) => grabCanvas(page, name && join(artefacts, `${name}.png`));

// The title: its "Last" list in the side panel, and no sky.
const showsTitle = (s) => !showsSky(s) && titleIn(s);
const ballX = (s) => ballCentre(s)?.x ?? null;

// Polls screenshots until two in a row pass the test or the deadline
// passes; the last one is kept as name. The passing one, or null.
async function waitFor(page, name, test, seconds) {
  return steady(async () => {
    const shot = await grab(page, name);
    return test(shot) ? shot : null;
  }, seconds);
}

// Holds something (a key, a stick) for `held` of the game's updates, then
// lets go; the ball, which keeps its speed, must then be seen at least
// `distance` pixels in `direction` from where it was. The distance, or
// null when it never went so far.
async function steer(page, name, act, held, direction, distance) {
  const from = ballX(await grab(page));
  if (from === null) return null;
  await act(true);
  try {
    await updates(page, held);
  } finally {
    await act(false);
  }
  const gone = (s) => ((ballX(s) ?? from) - from) * direction;
  const shot = await waitFor(page, name, (s) => gone(s) >= distance, 10);
  return shot ? gone(shot) : null;
}

// ---- the run ------------------------------------------------------------------

const browser = await openBrowser(site);
const { address, context } = browser;
const consoleErrors = [];
let page;
try {
  page = context.pages()[0] ?? (await context.newPage());
  collectErrors(page, consoleErrors);
  await page.addInitScript(installPad);
  await page.goto(address);
  check((await waitFor(page, "01-title", showsTitle, 60)) !== null, "the title is drawn");
  const padHint = page.locator("#pad");
  check(!(await padHint.isVisible()), "without a pad the footer names none");

  // Plugged in: the footer names the pad's controls, and A starts a game.
  await setPad(page, { connected: true });
  check(await padHint.isVisible().catch(() => false) && (await padHint.textContent()).includes("stick"),
        "a connected pad is named in the footer");
  await setPad(page, { buttons: { [kA]: true } });
  await updates(page, 2);
  await setPad(page, { buttons: { [kA]: false } });
  const play = await waitFor(page, "02-play", showsSky, 10);
  check(play !== null, "A on the pad starts a game");
  if (!play) throw new Error("no game");

  // The arrow keys steer: Left held takes the ball left.
  const left = await steer(page, "03-key-left",
    (down) => (down ? page.keyboard.down("ArrowLeft") : page.keyboard.up("ArrowLeft")), 20, -1, 40);
  check(left !== null, `ArrowLeft steers the ball left (${left?.toFixed(0)} pixels)`);

  // A full tilt right turns it round and takes it right.
  const right = await steer(page, "04-stick-right",
    (down) => setPad(page, { axes: [down ? 1 : 0, 0, 0, 0] }), 40, 1, 40);
  check(right !== null, `a full-tilt stick steers the ball right (${right?.toFixed(0)} pixels)`);

  // Start pauses, as Escape does.
  await setPad(page, { buttons: { [kStart]: true } });
  await updates(page, 2);
  await setPad(page, { buttons: { [kStart]: false } });
  check((await waitFor(page, "05-paused", showsPauseMenu, 5)) !== null, "Start on the pad opens the pause menu");

  // Unplugged: the footer does not name it.
  await setPad(page, { connected: false });
  check(!(await padHint.isVisible()), "an unplugged pad leaves the footer");

  check(consoleErrors.length === 0, `the console has no errors${consoleErrors.length ? ": " + consoleErrors.join(" | ") : ""}`);
} catch (error) {
  fail(error);
  if (page) await page.screenshot({ path: join(artefacts, "error-page.png") }).catch(() => {});
} finally {
  await browser.close();
}

finish();
