// Puts the served site together from the linked program and the packed
// data, as one build whose parts can never mix with another's:
//   - every file a running game fetches (solbrim.js, .wasm, .data and the
//     level packages) is renamed NAME.BUILD.EXT, BUILD being a hash of the
//     whole site, so an address always names the same bytes;
//   - the page (index.html) and the service worker (sw.js) keep their
//     names and have @BUILD@, @CACHE@ and @FILES@ filled in; the cache is
//     named after the game's version and the build;
//   - every file that shrinks by at least a twentieth gets precompressed
//     .br and .gz copies beside it, for web/serve.mjs.
//
//   node web/make_site.mjs PROGRAM_FOLDER PACKED_FOLDER WEB_SOURCES SITE VERSION
import { createHash } from "node:crypto";
import { mkdirSync, readFileSync, readdirSync, rmSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import { brotliCompressSync, constants, gzipSync } from "node:zlib";

// The program's files and the level packages, renamed per build.
export const kBuildFiles = ["solbrim.js", "solbrim.wasm", "solbrim.data", "level1.data", "level2.data", "level4.data"];
// What the service worker keeps at install besides the renamed program: the
// level packages are kept as the page fetches them.
const kPrecacheKept = ["index.html", "manifest.webmanifest", "icon.png", "page-icon-192.png", "page-icon-512.png"];

export function buildName(name, build) {
  const dot = name.lastIndexOf(".");
  return `${name.slice(0, dot)}.${build}${name.slice(dot)}`;
}

export function buildHash(files) {
  const hash = createHash("sha256");
  for (const [name, bytes] of files) hash.update(`${name}\0${bytes.length}\0`).update(bytes);
  return hash.digest("hex").slice(0, 12);
}

export function fill(template, values) {
  return template.replace(/@([A-Z]+)@/g, (whole, key) => (key in values ? values[key] : whole));
}

function compressed(bytes) {
  const br = brotliCompressSync(bytes, {
    params: { [constants.BROTLI_PARAM_QUALITY]: bytes.length > 1 << 20 ? 9 : 11, [constants.BROTLI_PARAM_SIZE_HINT]: bytes.length },
  });
  const gz = gzipSync(bytes, { level: 9 });
  const worth = (packed) => packed.length <= bytes.length * 0.95;
  return { br: worth(br) ? br : null, gz: worth(gz) ? gz : null };
}

export function makeSite(programFolder, packedFolder, sources, site, version) {
  const read = (folder, name) => [name, readFileSync(join(folder, name))];
  const program = ["solbrim.js", "solbrim.wasm", "solbrim.data"].map((name) => read(programFolder, name));
  const levels = ["level1.data", "level2.data", "level4.data"].map((name) => read(packedFolder, name));
  const icons = [["icon.png", readFileSync(join(packedFolder, "icons", "icon-64.png"))],
                 ...["page-icon-192.png", "page-icon-512.png"].map((name) => read(join(packedFolder, "icons"), name))];
  const templates = ["index.html", "sw.js", "manifest.webmanifest"].map((name) =>
    [name, readFileSync(join(sources, name === "sw.js" ? "service_worker.js" : name))]);

  const build = buildHash([...program, ...levels, ...icons, ...templates]);
  const renamed = kBuildFiles.map((name) => buildName(name, build));
  const values = {
    BUILD: build,
    CACHE: `solbrim-${version}-${build}`,
    FILES: JSON.stringify({ precache: [...kPrecacheKept, ...renamed.slice(0, 3)], levels: renamed.slice(3) }),
  };

  rmSync(site, { recursive: true, force: true });
  mkdirSync(site, { recursive: true });
  const out = [...[...program, ...levels].map(([name, bytes]) => [buildName(name, build), bytes]), ...icons,
               ...templates.map(([name, bytes]) => [name, Buffer.from(fill(bytes.toString("utf8"), values))])];
  for (const [name, bytes] of out) {
    writeFileSync(join(site, name), bytes);
    if (name.endsWith(".png")) continue;  // already deflated
    const { br, gz } = compressed(bytes);
    if (br) writeFileSync(join(site, name + ".br"), br);
    if (gz) writeFileSync(join(site, name + ".gz"), gz);
  }
  console.log(`site: build ${build}, ${readdirSync(site).length} files`);
}

if (process.argv[1]?.endsWith("make_site.mjs")) {
  const [programFolder, packedFolder, sources, site, version] = process.argv.slice(2);
  if (!version) {
    console.error("usage: node make_site.mjs PROGRAM_FOLDER PACKED_FOLDER WEB_SOURCES SITE VERSION");
    process.exit(2);
  }
  makeSite(programFolder, packedFolder, sources, site, version);
}
