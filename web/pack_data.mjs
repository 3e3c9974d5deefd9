// Splits the generated data/ folder for the browser, so that a page fetches
// only what it reads:
//   OUT/common/      what every window reads (sounds, the default font),
//                    preloaded with the program; the music generator's
//                    files (inst/) only with "music"
//   OUT/levelN.data  the images of resolution level N (1, 2, 4): a name
//                    with "-hd" is level 2, with "-hd2" level 4, and its
//                    plain sibling level 1
//   OUT/icons/       the page's icons (page-icon-*.png, icon-64.png)
// The desktop's window icons stay out: a page has no use for them.
//
// A level package: a 4-byte little-endian length n, n bytes of UTF-8 JSON
// listing [path under data/, size] for each file, then the files' bytes in
// that order (web/level_packages.js reads it).
//
//   node web/pack_data.mjs DATA_FOLDER OUT_FOLDER [music]
import { copyFileSync, existsSync, mkdirSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { dirname, join } from "node:path";

export const kLevels = [1, 2, 4];

function filesUnder(folder, prefix = "") {
  return readdirSync(join(folder, prefix), { withFileTypes: true }).flatMap((entry) => {
    const path = prefix ? `${prefix}/${entry.name}` : entry.name;
    return entry.isDirectory() ? filesUnder(folder, path) : [path];
  }).sort();
}

// Where one file of data/ goes: "common", "music", "icon", "skip" or a level number.
export function placeOf(path, exists) {
  if (path.startsWith("inst/")) return "music";
  if (/^page-icon-\d+\.png$/.test(path) || path === "icon-64.png") return "icon";
  if (/^icon-\d+\.png$/.test(path)) return "skip";
  if (path.endsWith("-hd2.png")) return 4;
  if (path.endsWith("-hd.png")) return 2;
  if (path.endsWith(".png") && exists(path.replace(/\.png$/, "-hd.png"))) return 1;
  return "common";
}

export function levelPackage(files) {
  const index = Buffer.from(JSON.stringify(files.map(({ path, bytes }) => [path, bytes.length])));
  const length = Buffer.alloc(4);
  length.writeUInt32LE(index.length);
  return Buffer.concat([length, index, ...files.map(({ bytes }) => bytes)]);
}

function pack(data, out, music) {
  rmSync(out, { recursive: true, force: true });
  const levels = new Map(kLevels.map((level) => [level, []]));
  for (const path of filesUnder(data)) {
    const place = placeOf(path, (other) => existsSync(join(data, other)));
    const copyTo = (folder) => {
      mkdirSync(dirname(join(out, folder, path)), { recursive: true });
      copyFileSync(join(data, path), join(out, folder, path));
    };
    if (place === "common" || (place === "music" && music)) copyTo("common");
    else if (place === "icon") copyTo("icons");
    else if (typeof place === "number") levels.get(place).push({ path, bytes: readFileSync(join(data, path)) });
  }
  for (const [level, files] of levels) writeFileSync(join(out, `level${level}.data`), levelPackage(files));
}

if (process.argv[1]?.endsWith("pack_data.mjs")) {
  const [data, out, music] = process.argv.slice(2);
  if (!data || !out) {
    console.error("usage: node pack_data.mjs DATA_FOLDER OUT_FOLDER [music]");
    process.exit(2);
  }
  pack(data, out, music === "music");
}
