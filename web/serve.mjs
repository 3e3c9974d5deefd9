// A static file server for the built site, on 127.0.0.1 only.
//   node web/serve.mjs FOLDER [PORT]   (port 0: any free port)
// Prints "serving http://127.0.0.1:PORT/" once it listens.
import { createServer } from "node:http";
import { readFile } from "node:fs/promises";
import { extname, join, normalize, resolve, sep } from "node:path";

const kTypes = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".wasm": "application/wasm",
  ".data": "application/octet-stream",
  ".png": "image/png",
};

export function serve(folder, port) {
  const root = resolve(folder);
  const server = createServer(async (request, response) => {
    let path;
    try {
      path = decodeURIComponent(new URL(request.url, "http://x").pathname);
    } catch {
      response.writeHead(400).end();  // a malformed address must not stop the server
      return;
    }
    const file = normalize(join(root, path.endsWith("/") ? path + "index.html" : path));
    // Only files inside the folder are served.
    if (!file.startsWith(root + sep)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      response.writeHead(200, { "Content-Type": kTypes[extname(file)] ?? "application/octet-stream" });
      response.end(body);
    } catch {
      response.writeHead(404).end();
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
