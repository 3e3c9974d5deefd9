// A static file server for the built site, on 127.0.0.1 only.
//   node web/serve.mjs FOLDER [PORT]   (port 0: any free port)
// Prints "serving http://127.0.0.1:PORT/" once it listens.
//
// A file with a precompressed copy beside it (NAME.br, NAME.gz) is sent as
// that copy, with Content-Encoding, to a browser that accepts it. Files
// whose names carry the build never change and may be cached for good; the
// page, the manifest and the service worker are checked again on every load,
// so a new build is found.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { basename, extname, join, normalize, resolve, sep } from "node:path";

const kTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".png": "image/png",
  ".webmanifest": "application/manifest+json",
};

// Preferred first.
const kEncodings = [["br", ".br"], ["gzip", ".gz"]];

// The encodings an Accept-Encoding header allows (q=0 refuses one).
export function acceptedEncodings(header) {
  const accepted = new Set();
  for (const part of (header ?? "").split(",")) {
    const [name, ...params] = part.trim().toLowerCase().split(";");
    const q = params.map((p) => p.trim()).find((p) => p.startsWith("q="));
    if (name && !(q && Number(q.slice(2)) === 0)) accepted.add(name);
  }
  return accepted;
}

// "solbrim.3b17f0eca0d9.wasm": a name with the build in it.
const builtName = (file) => /\.[0-9a-f]{12}\.[a-z]+$/.test(basename(file));

// The file to send and its headers; throws when there is none.
async function response(file, acceptEncoding) {
  const headers = {
    "Content-Type": kTypes[extname(file)] ?? "application/octet-stream",
    "Cache-Control": builtName(file) ? "public, max-age=31536000, immutable" : "no-cache",
    "Vary": "Accept-Encoding",
  };
  const accepted = acceptedEncodings(acceptEncoding);
  for (const [encoding, suffix] of kEncodings) {
    if (!accepted.has(encoding)) continue;
    try {
      const body = await readFile(file + suffix);
      return { body, headers: { ...headers, "Content-Encoding": encoding } };
    } catch {
      // no copy in this encoding
    }
  }
  return { body: await readFile(file), headers };
}

export function serve(folder, port) {
  const root = resolve(folder);
  const server = createServer(async (request, reply) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, "http://x").pathname);
    } catch {
      reply.writeHead(400).end();  // a malformed address must not stop the server
      return;
    }
    const file = normalize(join(root, path.endsWith("/") ? path + "index.html" : path));
    // Only files inside the folder are served.
    if (!file.startsWith(root + sep)) {
      reply.writeHead(403).end();
      return;
    }
    try {
      const { body, headers } = await response(file, request.headers["accept-encoding"]);
      reply.writeHead(200, headers);
      reply.end(request.method === "HEAD" ? undefined : body);
    } catch {
      reply.writeHead(404).end();
    }
  });
  return new Promise((resolve) => {
    server.listen(port, "127.0.0.1", () => resolve(server));
  });
}

if (process.argv[1] && import.meta.url.endsWith(process.argv[1].split(sep).pop())) {
  const server = await serve(process.argv[2] ?? ".", Number(process.argv[3] ?? 8017));
  console.log(`serving http://127.0.0.1:${server.address().port}/`);
}
