// Serves the built page on 127.0.0.1 and prints its address. With a display it waits for a
// person until interrupted; with none it opens the page in headless Chromium for two seconds,
// saves a PNG of the canvas, prints its path and stops. Usage: node run.mjs DIR
import { writeFile } from 'node:fs/promises';
import { resolve } from 'node:path';
import { launch, open, shot } from './browsers.mjs';
import { serve } from './server.mjs';

const dir = resolve(process.argv[2] || 'build-web');
const server = await serve(dir);
console.log(`Vexo is served at ${server.url} (Ctrl+C stops it)`);
if (process.env.DISPLAY) {
  process.on('SIGINT', () => { server.close(); process.exit(0); });
} else {
  console.log('No display: opening it in headless Chromium for two seconds.');
  const browser = await launch();
  const page = await open(browser, server.url);
  await new Promise((resolve) => setTimeout(resolve, 2000));
  const out = resolve(dir, 'vexo.png');
  await writeFile(out, Buffer.from((await shot(page)).png, 'base64'));
  await browser.close();
  server.close();
  console.log(out);
}
