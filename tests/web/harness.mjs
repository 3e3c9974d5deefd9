// What the browser tests share: counting checks, and reading pictures of
// the game. A PNG is decoded here rather than in the page, so looking at the
// game never counts as a user gesture there.
import { inflateSync } from "node:zlib";

// Checks counted for the summary line scripts/web-test adds up.
export function makeChecks() {
  const failures = [];
  let passed = 0;
  return {
    failures,
    check(condition, what) {
      if (condition) {
        passed += 1;
        console.log(`ok: ${what}`);
      } else {
        failures.push(what);
        console.log(`FAILED: ${what}`);
      }
    },
    fail(what) {
      failures.push(what);
      console.log(`FAILED: ${what}`);
    },
    // The last line of every browser test; the exit status follows it.
    finish() {
      console.log(`browser tests: ${passed} passed, ${failures.length} failed`);
      process.exit(failures.length ? 1 : 0);
    },
  };
}

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// ---- pictures ---------------------------------------------------------------

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

// The game's colours, as drawn.
export const lightSky = (r, g, b) => b > 200 && r > 70 && r < 200 && g > 130 && g < 230;
export const latestListText = (r, g, b) => r > 160 && r < 235 && g > 215 && b > 60 && b < 140;
export const pausePanelOrange = (r, g, b) => r > 170 && g > 80 && g < 170 && b < 90;
export const overlayYellow = (r, g, b) => r > 110 && g > 110 && b < 60 && Math.abs(r - g) < 40;

// ---- the page -----------------------------------------------------------------

// An init script (for addInitScript) that calls body(Module) once the game's
// runtime is ready, before the game starts: the page's own Module object
// is caught as it is set.
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
