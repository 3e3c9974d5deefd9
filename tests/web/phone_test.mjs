// The game on a phone-sized page in Debian's Chromium, headless, as a phone
// player meets it: 844 x 390 and 390 x 844 CSS pixels at device pixel ratio
// 3, touch, and the browser's own autoplay policy. Touches go through the
// DevTools protocol as real ones; the page's state is read through the
// protocol as well (Runtime.evaluate without a user gesture), because
// Playwright's page.evaluate counts as a gesture and would start the sound
// by itself, and so does page.screenshot (it runs a script in the page
// afterwards): until the sound is checked, screenshots are the protocol's
// own. All are whole-page ones, decoded here; an element screenshot would
// resize the page.
//
// First layout in both orientations, the drawing buffer at device pixels,
// the higher resolution level's files, the first tap on a mode button, a
// finger's drag against the same mouse drag, a second finger, the pause
// menu's buttons by tap, rotating mid-game and during the pause menu,
// sound from the first tap and from a tap after a drag, then bad input:
// fingers from outside the canvas, a cancelled touch, more than 32 fingers.
//
//   node phone_test.mjs SITE_FOLDER ARTEFACT_FOLDER
import { mkdirSync, writeFileSync } from "node:fs";
import { join, resolve } from "node:path";
import {
  atRuntimeReady, check, collectErrors, colours, count, decodePng, differing, fail, finish, launchBrowser, pauseMenuY,
  serveSite, showsPauseMenu, showsSky, until, updateCount, updates,
} from "./harness.mjs";

const site = resolve(process.argv[2] ?? "build-web/site");
const artefacts = resolve(process.argv[3] ?? "build-web/browser-test");
mkdirSync(artefacts, { recursive: true });

const kLandscape = { width: 844, height: 390 }, kPortrait = { width: 390, height: 844 };
const kPixelRatio = 3;
const kVirtualWidth = 640;

// ---- a page driven through the DevTools protocol -------------------------------

class Phone {
  constructor(page, cdp) {
    this.page = page;
    this.cdp = cdp;
  }

  static async open(context) {
    const page = await context.newPage();
    const phone = new Phone(page, await context.newCDPSession(page));
    phone.errors = [];
    collectErrors(page, phone.errors);
    return phone;
  }

  // From now on the page may see gestures the player did not make:
  // screenshots in device pixels, with a script run in the page.
  allowGestures() {
    this.gesturesAllowed = true;
  }

  // An expression's value, evaluated without a user gesture.
  async read(expression) {
    const reply = await this.cdp.send("Runtime.evaluate", { expression, returnByValue: true, awaitPromise: true });
    if (reply.exceptionDetails) throw new Error(`${expression}: ${reply.exceptionDetails.text}`);
    return reply.result.value;
  }

  updates() {
    return updateCount(this.page, (e) => this.read(e));
  }

  // Waits until the game has run `n` more updates, so it has seen the input before.
  waitUpdates(n) {
    return updates(this.page, n, (e) => this.read(e));
  }

  // The canvas as the page lays it out, and the game's virtual screen on it.
  async layout() {
    const l = JSON.parse(await this.read(`JSON.stringify({
      rect: canvas.getBoundingClientRect(), width: canvas.width, height: canvas.height,
      viewWidth: innerWidth, viewHeight: innerHeight,
      scrollWidth: document.scrollingElement.scrollWidth, scrollHeight: document.scrollingElement.scrollHeight,
      ratio: devicePixelRatio, zoom: visualViewport.scale })`));
    l.scale = l.rect.width / kVirtualWidth;  // CSS pixels per virtual pixel
    l.virtualHeight = Math.round(l.rect.height / l.scale);
    return l;
  }

  // The CSS point of a virtual point, on whole CSS pixels.
  at(layout, vx, vy) {
    return { x: Math.round(layout.rect.left + vx * layout.scale), y: Math.round(layout.rect.top + vy * layout.scale) };
  }

  // The canvas in virtual pixels, sampled from a whole-page screenshot.
  async look(name) {
    const layout = await this.layout();
    // The protocol's own capture is in CSS pixels (asked for device pixels
    // from this session, it leaves the page at pixel ratio 1).
    const png = this.gesturesAllowed ? await this.page.screenshot()
      : Buffer.from((await this.cdp.send("Page.captureScreenshot", { format: "png" })).data, "base64");
    if (name) writeFileSync(join(artefacts, `phone-${name}.png`), png);
    const page = decodePng(png);
    const width = kVirtualWidth, height = layout.virtualHeight, rgba = new Uint8Array(width * height * 4);
    const ratio = page.width / layout.viewWidth, step = layout.scale * ratio;
    for (let y = 0; y < height; y++)
      for (let x = 0; x < width; x++) {
        const px = Math.floor(layout.rect.left * ratio + (x + 0.5) * step);
        const py = Math.floor(layout.rect.top * ratio + (y + 0.5) * step);
        const from = 4 * (Math.min(py, page.height - 1) * page.width + Math.min(px, page.width - 1));
        rgba.set(page.rgba.subarray(from, from + 4), 4 * (y * width + x));
      }
    return { width, height, rgba, png };
  }

  // Keeps a passing look as name, or a fresh one as name-timeout.
  async keep(shot, name) {
    if (shot) writeFileSync(join(artefacts, `phone-${name}.png`), shot.png);
    else await this.look(name + "-timeout");
    return shot;
  }

  // Waits for a look that passes the test, kept as name.
  async waitFor(name, test, seconds) {
    return this.keep(await until(async () => {
      const shot = await this.look();
      return test(shot) ? shot : null;
    }, seconds), name);
  }

  // The title with its menu in place: two looks in a row with the same side
  // panel (it slides in with the menu).
  async waitForSettledTitle(name, seconds) {
    let previous = null;
    const settled = await until(async () => {
      const shot = await this.look();
      const still = previous && showsTitle(shot) && differing(previous, shot, ...sidePanel(shot)) === 0;
      previous = shot;
      return still ? shot : null;
    }, seconds);
    if (settled) return this.keep(settled, name);
    const last = await this.look(name + "-timeout");
    console.log(`${name}: ${colours(last)} colours, ${count(last, 500, last.height >> 1, 640, last.height - 20, listText)} list pixels, ` +
                `${previous ? differing(previous, last, ...sidePanel(last)) : "-"} changed in the panel`);
    return null;
  }

  // Fingers as { id, x, y } in CSS pixels: touchStart and touchMove name
  // every finger down, touchEnd the ones that lift (none: all of them).
  async touch(type, fingers = []) {
    await this.cdp.send("Input.dispatchTouchEvent", {
      type, touchPoints: fingers.map((f) => ({ x: f.x, y: f.y, id: f.id, radiusX: 4, radiusY: 4, force: 1 })),
    });
  }

  // A finger held over three updates, then lifted for two.
  async tap(point) {
    await this.touch("touchStart", [{ id: 1, ...point }]);
    await this.waitUpdates(3);
    await this.touch("touchEnd");
    await this.waitUpdates(2);
  }

  // A one-finger drag from `from` in `steps` moves of (dx, dy) CSS pixels,
  // one update each.
  async drag(from, dx, dy, steps) {
    await this.touch("touchStart", [{ id: 1, ...from }]);
    await this.waitUpdates(1);
    for (let i = 1; i <= steps; i++) {
      await this.touch("touchMove", [{ id: 1, x: from.x + dx * i, y: from.y + dy * i }]);
      await this.waitUpdates(1);
    }
    await this.touch("touchEnd");
    await this.waitUpdates(2);
  }

  // The same drag with the mouse.
  async mouseDrag(from, dx, dy, steps) {
    await this.page.mouse.move(from.x, from.y);
    await this.page.mouse.down();
    await this.waitUpdates(1);
    for (let i = 1; i <= steps; i++) {
      await this.page.mouse.move(from.x + dx * i, from.y + dy * i);
      await this.waitUpdates(1);
    }
    await this.page.mouse.up();
    await this.waitUpdates(2);
  }

  async velocity() {
    return this.read("[Module._SolbrimBallVelocity(0), Module._SolbrimBallVelocity(1)]");
  }

  async held() {
    return this.read("Module._SolbrimPointersHeld()");
  }

  // Polls until the audio context runs, or the deadline passes; the last state read.
  async audioStateAfter(seconds) {
    let state;
    await until(async () => {
      state = await this.read("typeof Module === 'object' && Module.audioState ? Module.audioState() : 'none'");
      return state === "running";
    }, seconds);
    return state;
  }
}

// ---- what the game shows, in virtual pixels ---------------------------------

// The recent scores' green text, as blurred on a phone-sized canvas.
const listText = (r, g, b) => g > 150 && g > r + 20 && g > b + 60;
const sidePanel = (s) => [500, 0, 640, s.height];
const showsTitle = (s) => colours(s) > 300 && count(s, 500, s.height >> 1, 640, s.height - 20, listText) > 30;
// The move-speed boxes along the bottom, 1 to 8, and whether one is filled.
const speedBox = (s, i) => ({ x: 320 - 144 + 32 * i + 14, y: s.height - 64 + 14 });
const brightGreen = (r, g, b) => g > 180 && g - r > 80 && g - b > 80;
const speedFilled = (s, i) => count(s, speedBox(s, i).x - 8, speedBox(s, i).y - 8, speedBox(s, i).x + 8,
                                     speedBox(s, i).y + 8, brightGreen) > 200;
const speedShown = (s) => [1, 2, 3, 4, 5, 6, 7, 8].filter((i) => speedFilled(s, i)).length;
// The glyph of the sound button in the pause menu (landscape layout): waves
// when the sound is on, a cross when it is off.
const soundGlyph = (s) => ({ x0: 455, y0: pauseMenuY(s) - 80, x1: 486, y1: pauseMenuY(s) - 48 });

// ---- the checks ---------------------------------------------------------------

// First layout, read before anything else happens on the page.
async function checkFirstLayout(phone, name, viewport) {
  const l = await phone.layout();
  const inside = l.rect.left >= 0 && l.rect.top >= 0 && l.rect.right <= viewport.width + 0.01 &&
                 l.rect.bottom <= viewport.height + 0.01;
  check(inside, `${name}: the first layout puts the canvas inside the viewport (${JSON.stringify(l.rect)})`);
  check(l.scrollWidth <= viewport.width && l.scrollHeight <= viewport.height,
        `${name}: the document does not scroll (${l.scrollWidth} x ${l.scrollHeight})`);
  const aspect = l.rect.width / l.rect.height;
  check(aspect >= 4 / 3 - 0.01 && aspect <= 16 / 9 + 0.01, `${name}: the canvas is between 4:3 and 16:9 (${aspect.toFixed(3)})`);
  check(l.width === l.rect.width * kPixelRatio && l.height === l.rect.height * kPixelRatio,
        `${name}: the drawing buffer is the CSS size times the pixel ratio (${l.width} x ${l.height} for ${l.rect.width} x ${l.rect.height})`);
  return l;
}

// Records the files the game opens (Module.FS.open), from the start.
const recordOpenedFiles = atRuntimeReady((module) => {
  window.solbrimOpened = [];
  const open = module.FS.open;
  module.FS.open = function (path, ...rest) {
    window.solbrimOpened.push(String(path));
    return open.call(this, path, ...rest);
  };
});

// A phone held one way; `init` runs in each of its pages before the game.
async function phoneContext(browser, viewport, init) {
  const context = await browser.newContext({ viewport, deviceScaleFactor: kPixelRatio, hasTouch: true, isMobile: true });
  if (init) await context.addInitScript(init);
  return context;
}

async function openedFiles(phone) {
  return phone.read("window.solbrimOpened.filter((p) => p.endsWith('.png'))");
}

// How a finger's drag changed the ball's velocity, for the mouse to match.
let touchDragEffect = null;

// The first visit in landscape: everything a phone player does in one game.
async function landscapeGame(browser, address) {
  const context = await phoneContext(browser, kLandscape, recordOpenedFiles);
  const phone = await Phone.open(context);
  try {
    await phone.page.goto(address, { waitUntil: "domcontentloaded" });
    await checkFirstLayout(phone, "landscape", kLandscape);
    const title = await phone.waitForSettledTitle("01-landscape-title", 60);
    check(title !== null, "landscape: the title is drawn");
    if (!title) throw new Error("no title");
    const hint = await phone.read("document.getElementById('controls-hint').textContent");
    check(hint === "Drag to steer · tap ‖ to pause", `the footer names the touch controls (${hint})`);
    const beforeTap = await phone.read("Module.audioState()");
    check(beforeTap !== "running", `without a gesture the audio does not run (${beforeTap})`);

    const opened = await openedFiles(phone);
    const finest = opened.filter((p) => p.endsWith("-hd2.png")).length;
    check(finest >= 10, `the 2079-pixel-wide canvas opens the highest resolution level's files (${finest} of ${opened.length})`);

    // The first tap on EASY starts a game, and the sound with it.
    let l = await phone.layout();
    await phone.tap(phone.at(l, 0.2 * 640, 0.7 * l.virtualHeight));
    check((await phone.waitFor("02-landscape-play", showsSky, 10)) !== null, "the first tap on EASY starts a game");
    const afterTap = await phone.audioStateAfter(5);
    check(afterTap === "running", `the audio runs after the first tap (was ${beforeTap}, now ${afterTap})`);
    phone.allowGestures();

    // A finger's drag from rest, at the start of the game; the same drag
    // by mouse is made at the start of another game (soundAfterDrag), since
    // the play field soon changes the velocity by itself.
    const v0 = await phone.velocity();
    await phone.drag(phone.at(l, 320, 0.5 * l.virtualHeight), -7, 3, 5);
    const v1 = await phone.velocity();
    touchDragEffect = [v1[0] - v0[0], v1[1] - v0[1]];
    check(touchDragEffect[0] < -1 && touchDragEffect[1] > 0.3,
          `a finger's drag steers the ball down-left (${touchDragEffect.map((v) => v.toFixed(2))} px an update)`);

    // A second finger, moved away from the first as in a pinch, neither
    // steers nor zooms the page, and lifting it leaves the first steering.
    const first = { id: 1, ...phone.at(l, 300, 150) };
    let second = { id: 2, ...phone.at(l, 400, 180) };
    await phone.touch("touchStart", [first]);
    await phone.waitUpdates(2);
    await phone.touch("touchStart", [first, second]);
    await phone.waitUpdates(2);
    const heldTwo = await phone.held();
    const beforePinch = await phone.velocity();
    for (let i = 1; i <= 4; i++) {
      second = { ...second, x: second.x + 17, y: second.y + 5 };
      await phone.touch("touchMove", [first, second]);
      await phone.waitUpdates(1);
    }
    const afterPinch = await phone.velocity();
    check(heldTwo === 3, `two fingers hold touch points 0 and 1 (held: ${heldTwo}, the first counted as the mouse button too)`);
    // Steering by the second finger's 68-pixel move would add about 3.5.
    check(!steered(beforePinch, afterPinch), `the second finger's moves do not steer (velocity ${beforePinch} -> ${afterPinch})`);
    check((await phone.layout()).zoom === 1, "a pinch leaves the page unzoomed (visualViewport.scale 1)");
    await phone.touch("touchEnd", [second]);
    await phone.waitUpdates(2);
    const heldOne = await phone.held();
    check(heldOne === 2, `lifting the second finger keeps the first one's press (held: ${heldOne})`);
    const beforeFirst = await phone.velocity();
    for (let i = 1; i <= 3; i++) {
      await phone.touch("touchMove", [{ ...first, x: first.x + 6 * i }]);
      await phone.waitUpdates(1);
    }
    await phone.touch("touchEnd");
    await phone.waitUpdates(2);
    const afterFirst = await phone.velocity();
    const firstSteers = afterFirst[0] - beforeFirst[0];
    // To the right, away from the edge the ball drifts towards.
    check(firstSteers > 0.6, `the first finger steers on after the second lifts (${firstSteers.toFixed(2)} px an update)`);

    // The pause icon, resume, the sound button and the move-speed boxes by tap.
    await phone.tap(phone.at(l, 16, 16));
    const paused = await phone.waitFor("03-landscape-paused", showsPauseMenu, 5);
    check(paused !== null, "a tap on the pause icon opens the pause menu");
    await phone.tap(phone.at(l, 320, pauseMenuY(paused ?? { height: l.virtualHeight })));
    check((await phone.waitFor("04-landscape-resumed", (s) => showsSky(s) && !showsPauseMenu(s), 5)) !== null,
          "a tap on resume closes the pause menu");

    await phone.tap(phone.at(l, 16, 16));
    const soundOn = await phone.waitFor("05-landscape-paused-again", showsPauseMenu, 5);
    const icon = soundGlyph(soundOn ?? { height: l.virtualHeight });
    const glyphDiffers = (a, b) => differing(a, b, icon.x0, icon.y0, icon.x1, icon.y1);
    await phone.tap(phone.at(l, 460, pauseMenuY(soundOn ?? { height: l.virtualHeight }) - 64));
    const soundOff = await phone.look("06-landscape-sound-off");
    const toggled = soundOn ? glyphDiffers(soundOn, soundOff) : 0;
    check(toggled > 100, `a tap on the sound button switches the sound off (${toggled} pixels of its glyph change)`);
    await phone.tap(phone.at(l, 320, pauseMenuY(soundOff)));
    await phone.waitFor("07-landscape-resumed-again", (s) => showsSky(s) && !showsPauseMenu(s), 5);
    await phone.tap(phone.at(l, 16, 16));
    const reopened = await phone.waitFor("08-landscape-paused-third", showsPauseMenu, 5);
    const fromOff = reopened ? glyphDiffers(soundOff, reopened) : Infinity;
    const fromOn = reopened && soundOn ? glyphDiffers(soundOn, reopened) : 0;
    check(fromOff < 30 && fromOn > 100,
          `resuming right after the sound button leaves the sound off (glyph ${fromOff} pixels from off, ${fromOn} from on)`);

    const speedBefore = speedShown(reopened ?? soundOff);
    await phone.tap(phone.at(l, speedBox(soundOff, 3).x, speedBox(soundOff, 3).y));
    const slow = speedShown(await phone.look("09-landscape-speed-3"));
    await phone.tap(phone.at(l, speedBox(soundOff, 7).x, speedBox(soundOff, 7).y));
    const fast = speedShown(await phone.look("10-landscape-speed-7"));
    check(slow === 3 && fast === 7, `taps on the move-speed boxes set the speed (${speedBefore} -> ${slow} -> ${fast})`);

    // Rotating during the pause menu keeps it open; rotating mid-game
    // re-lays the game, which plays on.
    await phone.page.setViewportSize(kPortrait);
    const portrait = await waitForLayout(phone, 1170);
    const stillPaused = portrait ? await phone.waitFor("11-portrait-paused", showsPauseMenu, 20) : null;
    check(stillPaused !== null, `rotating during the pause menu keeps it open (canvas ${portrait?.width} wide)`);
    l = await phone.layout();
    await phone.tap(phone.at(l, 320, pauseMenuY(stillPaused ?? { height: l.virtualHeight })));
    check((await phone.waitFor("12-portrait-play", (s) => showsSky(s) && !showsPauseMenu(s), 10)) !== null,
          "resume by tap after rotating");
    await phone.page.setViewportSize(kLandscape);
    const back = await waitForLayout(phone, 2079);
    const u = await phone.updates();
    const playing = back ? await phone.waitFor("13-landscape-play-rotated", showsSky, 20) : null;
    await phone.waitUpdates(30);
    check(playing !== null && (await phone.updates()) > u + 30,
          `rotating mid-game re-lays the game and it plays on (canvas ${back?.width} wide)`);

    await badInput(phone);
    check(phone.errors.length === 0, `the phone page's console has no errors${phone.errors.length ? ": " + phone.errors.join(" | ") : ""}`);
  } finally {
    await context.close();
  }
}

// Whether the ball's velocity changed by more than the play field can do
// by itself in a few updates: an edge stops a component, a block at most
// reverses it.
function steered(before, after) {
  return [0, 1].some((axis) => Math.abs(after[axis] - before[axis]) > 2 * Math.abs(before[axis]) + 0.5);
}

// Waits until the canvas has `width` buffer pixels; its layout, or null.
async function waitForLayout(phone, width) {
  return until(async () => {
    const l = await phone.layout();
    return l.width === width ? l : null;
  }, 5);
}

// No button stays held, whatever the fingers do.
async function badInput(phone) {
  const l = await phone.layout();
  // A finger that starts on the letterbox beside the canvas and moves onto it.
  const v0 = await phone.velocity();
  const outside = { id: 5, x: Math.floor(l.rect.left / 2), y: 200 };
  await phone.touch("touchStart", [outside]);
  await phone.waitUpdates(2);
  for (let i = 1; i <= 4; i++) {
    await phone.touch("touchMove", [{ ...outside, x: outside.x + 60 * i, y: outside.y - 7 * i }]);
    await phone.waitUpdates(1);
  }
  const heldOutside = await phone.held();
  await phone.touch("touchEnd");
  await phone.waitUpdates(2);
  const v1 = await phone.velocity();
  // Steering by its 240-pixel move would add 5 or more.
  check(heldOutside === 0 && !steered(v0, v1),
        `a finger from outside the canvas neither presses nor steers (held ${heldOutside}, velocity ${v0} -> ${v1})`);

  // A touch the system cancels (an incoming call).
  await phone.touch("touchStart", [{ id: 6, ...phone.at(l, 333, 222) }, { id: 7, ...phone.at(l, 111, 99) }]);
  await phone.waitUpdates(3);
  const heldBeforeCancel = await phone.held();
  await phone.touch("touchCancel");
  await phone.waitUpdates(2);
  const heldAfterCancel = await phone.held();
  check(heldBeforeCancel === 3 && heldAfterCancel === 0, `a cancelled touch lifts every finger (${heldBeforeCancel} -> ${heldAfterCancel})`);

  // As many real fingers as the browser's input takes (16), then all up.
  const many = Array.from({ length: 16 }, (_, i) => ({ id: 10 + i, ...phone.at(l, 150 + 23 * i, 120 + 9 * (i % 7)) }));
  await phone.touch("touchStart", many);
  await phone.waitUpdates(3);
  const heldMany = await phone.held();
  await phone.touch("touchEnd");
  await phone.waitUpdates(2);
  const heldAfterMany = await phone.held();
  check(heldMany === 17 && heldAfterMany === 0, `16 fingers hold 16 touch points and leave none held once up (${heldMany} -> ${heldAfterMany})`);

  // Forty fingers in one event, made in the page: the browser's own input
  // stops at 16.
  const made = await phone.page.evaluate(() => {
    const touches = Array.from({ length: 40 }, (_, i) => new Touch({
      identifier: 500 + i, target: canvas, clientX: 20 + 15 * i, clientY: 150 + (i % 5) * 10 }));
    const send = (type, current, changed) => canvas.dispatchEvent(new TouchEvent(type, {
      touches: current, targetTouches: current, changedTouches: changed, bubbles: true, cancelable: true }));
    send("touchstart", touches, touches);
    return touches.length;
  });
  await phone.waitUpdates(3);
  const heldForty = await phone.held();
  await phone.page.evaluate(() => {
    const touches = Array.from({ length: 40 }, (_, i) => new Touch({
      identifier: 500 + i, target: canvas, clientX: 20 + 15 * i, clientY: 150 + (i % 5) * 10 }));
    canvas.dispatchEvent(new TouchEvent("touchend", { touches: [], targetTouches: [], changedTouches: touches,
                                                      bubbles: true, cancelable: true }));
  });
  await phone.waitUpdates(2);
  const heldAfterForty = await phone.held();
  check(heldForty === 33 && heldAfterForty === 0,
        `${made} fingers take the 32 touch points and leave none held once up (${heldForty} -> ${heldAfterForty})`);
}

// Sound from gestures on a fresh page, with nothing before them: `play`
// makes them once the title is drawn.
async function soundAfter(browser, address, name, play) {
  const context = await phoneContext(browser, kLandscape);
  const phone = await Phone.open(context);
  try {
    await phone.page.goto(address);
    if (!(await phone.waitForSettledTitle(name, 60))) throw new Error(`no title for ${name}`);
    await play(phone, await phone.layout());
  } finally {
    await context.close();
  }
}

async function soundAfterDrag(browser, address) {
  await soundAfter(browser, address, "20-sound-after-drag", async (phone, l) => {
    const before = await phone.read("Module.audioState()");
    // Across the side panel's lists, where there is no button.
    await phone.drag(phone.at(l, 560, 60), -4, 11, 6);
    const afterDrag = await phone.audioStateAfter(1);
    await phone.tap(phone.at(l, 590, 150));
    const afterTap = await phone.audioStateAfter(5);
    check(before !== "running" && afterTap === "running",
          `the audio runs after a drag and a tap (${before}; after the drag alone: ${afterDrag})`);

    // The finger's drag of the first game, by mouse at the start of this one.
    await phone.tap(phone.at(l, 0.2 * 640, 0.7 * l.virtualHeight));
    if (!(await phone.waitFor("22-mouse-play", showsSky, 10))) throw new Error("no game for the mouse drag");
    const v0 = await phone.velocity();
    await phone.mouseDrag(phone.at(l, 320, 0.5 * l.virtualHeight), -7, 3, 5);
    const v1 = await phone.velocity();
    const byMouse = [v1[0] - v0[0], v1[1] - v0[1]], kUpdates = 30;
    const byTouch = touchDragEffect ?? [0, 0];
    const apart = Math.hypot(byTouch[0] - byMouse[0], byTouch[1] - byMouse[1]) * kUpdates;
    console.log(`measured: in ${kUpdates} updates the same drag moves the ball ${byTouch.map((v) => (v * kUpdates).toFixed(1))} px ` +
                `by finger, ${byMouse.map((v) => (v * kUpdates).toFixed(1))} px by mouse`);
    check(apart < 5, `a finger's drag moves the ball as far as the mouse's (${apart.toFixed(1)} px apart after ${kUpdates} updates)`);
  });
}

async function soundAfterKey(browser, address) {
  await soundAfter(browser, address, "21-sound-after-key", async (phone) => {
    const before = await phone.read("Module.audioState()");
    for (const type of ["keyDown", "keyUp"]) {
      await phone.cdp.send("Input.dispatchKeyEvent", { type, key: "ArrowRight", code: "ArrowRight", windowsVirtualKeyCode: 39 });
    }
    const after = await phone.audioStateAfter(5);
    check(before !== "running" && after === "running", `the audio runs after the first key (${before} -> ${after})`);
  });
}

// The first visit in portrait: a 4:3 canvas across the width, the hint to
// turn the device, and play from the first tap.
async function portraitGame(browser, address) {
  const context = await phoneContext(browser, kPortrait, recordOpenedFiles);
  const phone = await Phone.open(context);
  try {
    await phone.page.goto(address, { waitUntil: "domcontentloaded" });
    const l = await checkFirstLayout(phone, "portrait", kPortrait);
    phone.allowGestures();
    check(l.rect.width === kPortrait.width, `portrait: the canvas spans the width (${l.rect.width})`);
    const hint = await phone.read("getComputedStyle(document.getElementById('turn-hint')).display");
    check(hint !== "none", "portrait: the page shows the hint to turn the device");
    if (!(await phone.waitForSettledTitle("30-portrait-title", 60))) throw new Error("no title in portrait");
    const opened = await openedFiles(phone);
    const level2 = opened.filter((p) => p.endsWith("-hd.png")).length, level4 = opened.filter((p) => p.endsWith("-hd2.png")).length;
    check(level2 >= 10 && level4 === 0, `the 1170-pixel-wide canvas opens the second resolution level's files (${level2}, ${level4} of the highest)`);
    await phone.tap(phone.at(l, 0.2 * 640, 0.7 * l.virtualHeight));
    check((await phone.waitFor("31-portrait-play", showsSky, 10)) !== null, "portrait: the first tap on EASY starts a game");
  } finally {
    await context.close();
  }
}

// A large, dense screen: the drawing buffer's larger side is capped.
async function tabletLayout(browser, address) {
  const tablet = { width: 1366, height: 1024 };
  const context = await browser.newContext({ viewport: tablet, deviceScaleFactor: 2 });
  const phone = await Phone.open(context);
  try {
    await phone.page.goto(address, { waitUntil: "domcontentloaded" });
    const l = await phone.layout();
    const expected = Math.round(l.rect.width * Math.min(2, 2560 / Math.max(l.rect.width, l.rect.height)));
    check(Math.max(l.width, l.height) === 2560 && l.width === expected,
          `a 1366 x 1024 page at ratio 2 caps the buffer at 2560 (${l.width} x ${l.height} for ${l.rect.width} x ${l.rect.height})`);
  } finally {
    await context.close();
  }
}

// ---- the run ------------------------------------------------------------------

const { address, close: stopServing } = await serveSite(site);
const browser = await launchBrowser();
try {
  for (const part of [landscapeGame, portraitGame, soundAfterDrag, soundAfterKey, tabletLayout]) {
    try {
      await part(browser, address);
    } catch (error) {
      fail(`${part.name}: ${error}`);
    }
  }
} finally {
  await browser.close();
  stopServing();
}
finish();
