// The site's tools without a browser: how the data folder is split, the
// level package format read back by the page's own loader, and what the
// local server sends (precompressed copies, types, caching).
//
//   node site_tools_test.mjs
// The last line is "browser tests: N passed, N failed".
import { mkdtempSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { get } from "node:http";
import { tmpdir } from "node:os";
import { dirname, join } from "node:path";
import { fileURLToPath } from "node:url";
import { runInNewContext } from "node:vm";
import { gzipSync } from "node:zlib";
import { levelPackage, placeOf } from "../../web/pack_data.mjs";
import { serve } from "../../web/serve.mjs";
import { check, finish } from "./harness.mjs";

const web = join(dirname(fileURLToPath(import.meta.url)), "../../web");

// ---- splitting data/ ------------------------------------------------------------

{
  const present = new Set(["menu-hd.png", "common/icons-hd.png"]);
  const exists = (path) => present.has(path);
  const cases = [
    ["menu.png", 1], ["menu-hd.png", 2], ["menu-hd2.png", 4], ["common/icons.png", 1],
    ["brio_font.png", "common"],  // one resolution only: every window reads it
    ["sfx/001.wav", "common"], ["inst/d4-1.wav", "music"], ["inst/song0.png", "music"],
    ["icon-16.png", "skip"], ["icon-256.png", "skip"], ["icon-64.png", "icon"], ["page-icon-512.png", "icon"],
  ];
  const wrong = cases.filter(([path, place]) => placeOf(path, exists) !== place);
  check(wrong.length === 0, `every file of data/ goes where it belongs${wrong.map(([p]) => ": " + p + " -> " + placeOf(p, exists)).join("")}`);
}

// ---- level packages, read by the page's loader ------------------------------------

const loader = runInNewContext(readFileSync(join(web, "level_packages.js"), "utf8") + "\n;solbrimUnpack",
                               { Module: {}, TextDecoder, DataView, Uint8Array, JSON, Error });
const files = [{ path: "menu-hd.png", bytes: Buffer.from("menu picture") },
               { path: "common/icons-hd.png", bytes: Buffer.from([0, 255, 7]) },
               { path: "empty-hd.png", bytes: Buffer.alloc(0) }];
const packed = levelPackage(files);
const asArrayBuffer = (buffer) => buffer.buffer.slice(buffer.byteOffset, buffer.byteOffset + buffer.byteLength);
{
  const unpacked = loader(asArrayBuffer(packed));
  check(unpacked.length === 3 && unpacked.every(([path, bytes], i) =>
    path === files[i].path && Buffer.from(bytes).equals(files[i].bytes)),
    "a level package reads back file by file");
}

function refuses(buffer) {
  try {
    loader(asArrayBuffer(buffer));
    return false;
  } catch {
    return true;
  }
}
check(refuses(packed.subarray(0, packed.length - 1)), "a cut-off level package is refused whole");
check(refuses(Buffer.concat([packed, Buffer.from([0])])), "a level package with bytes to spare is refused");
check(refuses(levelPackage([{ path: "../../persist/.vellumstate", bytes: Buffer.from("x") }])),
      "a level package cannot write outside data/");

// ---- the local server ---------------------------------------------------------------

// The raw response, not decoded.
function fetchRaw(url, headers) {
  return new Promise((resolve, reject) => {
    get(url, { headers }, (response) => {
      const chunks = [];
      response.on("data", (chunk) => chunks.push(chunk));
      response.on("end", () => resolve({ status: response.statusCode, headers: response.headers, body: Buffer.concat(chunks) }));
    }).on("error", reject);
  });
}

const folder = mkdtempSync(join(tmpdir(), "solbrim-serve-"));
const script = Buffer.from("let game = 1;\n".repeat(200));
writeFileSync(join(folder, "solbrim.0123456789ab.js"), script);
writeFileSync(join(folder, "solbrim.0123456789ab.js.br"), Buffer.from("brotli copy"));
writeFileSync(join(folder, "solbrim.0123456789ab.js.gz"), gzipSync(script));
writeFileSync(join(folder, "sw.js"), script);
writeFileSync(join(folder, "sw.js.gz"), gzipSync(script));
writeFileSync(join(folder, "manifest.webmanifest"), "{}");
const server = await serve(folder, 0);
const base = `http://127.0.0.1:${server.address().port}/`;
try {
  const br = await fetchRaw(base + "solbrim.0123456789ab.js", { "accept-encoding": "gzip, deflate, br" });
  check(br.headers["content-encoding"] === "br" && br.body.toString() === "brotli copy" &&
        br.headers["content-type"] === "text/javascript" && br.headers.vary === "Accept-Encoding",
        "a browser taking brotli gets the .br copy, typed as the file it stands for");
  const gz = await fetchRaw(base + "solbrim.0123456789ab.js", { "accept-encoding": "br;q=0, gzip" });
  check(gz.headers["content-encoding"] === "gzip" && gz.body.equals(gzipSync(script)), "brotli refused with q=0: the .gz copy");
  const plain = await fetchRaw(base + "solbrim.0123456789ab.js", {});
  check(plain.headers["content-encoding"] === undefined && plain.body.equals(script), "no Accept-Encoding: the file itself");
  const noBr = await fetchRaw(base + "sw.js", { "accept-encoding": "br, gzip" });
  check(noBr.headers["content-encoding"] === "gzip", "a missing .br copy falls back to .gz");
  check(br.headers["cache-control"].includes("immutable") && noBr.headers["cache-control"] === "no-cache",
        "files named after the build are cached for good, the worker is checked every time");
  const manifest = await fetchRaw(base + "manifest.webmanifest", {});
  check(manifest.headers["content-type"] === "application/manifest+json", "the manifest has its own type");
  const outside = await fetchRaw(base + "..%2f..%2fetc/passwd", {});
  const missing = await fetchRaw(base + "nothing.js", { "accept-encoding": "br" });
  check(outside.status === 403 && missing.status === 404, `nothing outside the folder, nothing made up (${outside.status}, ${missing.status})`);
} finally {
  server.close();
  rmSync(folder, { recursive: true, force: true });
}

finish();
