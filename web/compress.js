// SPDX-License-Identifier: GPL-3.0-or-later
// Writes NAME.gz (gzip -9) and NAME.br (brotli 11) beside each of the site's
// text files and its WebAssembly, for servers that send a precompressed file
// when the browser accepts it (nginx's gzip_static and brotli_static, Apache
// with the rules in web/hosting/) instead of compressing on every request.
// The font and the icons are compressed already.
//
//   node compress.js SITE_DIR
'use strict';

const fs = require('fs');
const path = require('path');
const zlib = require('zlib');

const site = process.argv[2];
for (const name of fs.readdirSync(site)) {
  if (!/\.(html|js|css|wasm|webmanifest|txt)$/.test(name)) {
    continue;
  }
  const data = fs.readFileSync(path.join(site, name));
  const packed = {
    gz: zlib.gzipSync(data, { level: 9 }),
    br: zlib.brotliCompressSync(data, {
      params: {
        [zlib.constants.BROTLI_PARAM_QUALITY]: zlib.constants.BROTLI_MAX_QUALITY,
        [zlib.constants.BROTLI_PARAM_SIZE_HINT]: data.length,
      },
    }),
  };
  for (const [suffix, bytes] of Object.entries(packed)) {
    const target = path.join(site, `${name}.${suffix}`);
    // A stale one would be sent for the new file.
    fs.rmSync(target, { force: true });
    if (bytes.length < data.length) {
      fs.writeFileSync(target, bytes);
    }
  }
}
