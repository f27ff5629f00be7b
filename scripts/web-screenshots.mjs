// Takes the web page's screenshots in the README (docs/web-*.png) in
// headless Chromium, on the site scripts/web.sh build left in build-web/site:
//   node scripts/web-screenshots.mjs
import { join } from 'node:path';

import { calcular, click, fill, openSite } from '../tests/web/page.mjs';
import { repo } from '../tests/web/support.mjs';

const site = await openSite();
try {
  for (const [name, width, height] of [['telefono', 360, 640], ['escritorio', 1280, 800]]) {
    const page = await site.newPage({ width, height });
    await fill(page, 'docente', 'Pérez, Ana');
    await click(page, 'cargo', 'codcargo');
    await page.keyboard.type('925');
    await click(page, 'Listo', 'Option4', 'hijos', 'Iosper', 'APORTEJUB');
    await page.select('#zona', '1');
    await fill(page, 'cantidadhijos', '2');
    await calcular(page);
    // The phone shows the top of the slip; the desktop the whole page from
    // the top, with the explanation of the first amount under the pointer.
    if (width > 1000) {
      await page.evaluate(() => window.scrollTo(0, 0));
      await page.hover('#Haberes tbody tr:first-child .amount-button');
    }
    await page.screenshot({ path: join(repo, `docs/web-${name}.png`) });
    await page.close();
  }
} finally {
  await site.close();
}
