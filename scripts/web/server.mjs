// A static server for the built page on 127.0.0.1: `make web-run` serves the page with it, and the
// page's tests and `make bench` serve what they load.
import { createHash } from 'node:crypto';
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { gzipSync } from 'node:zlib';

const types = { '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.wasm': 'application/wasm',
                '.png': 'image/png', '.webmanifest': 'application/manifest+json', '.json': 'application/json' };

// Serves the files of `root` on a free port of 127.0.0.1 as a static host does: by type,
// gzipped for a client that takes it, 404 for what is not there; with `noStore`, for no
// browser's HTTP cache to keep; with `maxAge`, fresh for that many seconds and with an ETag of its
// content, answered 304 when the client holds it. Resolves to { url, close, replaced, sent, asked,
// offline }: a path set in `replaced` is served with the text given there instead (a new build,
// say); `sent` maps each path to the bytes of content sent for it so far, `asked` to the requests
// for it; while `offline` is true every connection is dropped.
export async function serve(root, { noStore = false, maxAge = 0 } = {}) {
  const replaced = {}, sent = {}, asked = {};
  const site = { replaced, sent, asked, offline: false };
  const server = createServer(async (request, response) => {
    if (site.offline) return request.socket.destroy();
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    try {
      const file = join(root, path.endsWith('/') ? join(path, 'index.html') : path);
      let body = path in replaced ? Buffer.from(replaced[path]) : await readFile(file);
      const headers = { 'Content-Type': types[extname(file)] || 'application/octet-stream' };
      if (noStore) headers['Cache-Control'] = 'no-store';
      asked[path] = (asked[path] || 0) + 1;
      if (maxAge) {
        headers['Cache-Control'] = `max-age=${maxAge}`;
        headers.ETag = `"${createHash('sha1').update(body).digest('hex')}"`;
        if (request.headers['if-none-match'] === headers.ETag) return response.writeHead(304, headers).end();
      }
      if (/\bgzip\b/.test(request.headers['accept-encoding'] || '') && !file.endsWith('.png')) {
        body = gzipSync(body, { level: 9 });
        headers['Content-Encoding'] = 'gzip';
      }
      response.writeHead(200, headers);
      response.end(body);
      sent[path] = (sent[path] || 0) + body.length;
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return Object.assign(site, { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() });
}
