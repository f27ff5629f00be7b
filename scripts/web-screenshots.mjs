// Takes the web page's screenshots in the README (docs/web-*.png) in
// headless Chromium, on the site scripts/web.sh build left in build-web/site:
//   node scripts/web-screenshots.mjs
import { join } from 'node:path';

import { calcular, click, fill, openSite } from '../tests/web/page.mjs';
import { repo } from '../tests/web/support.mjs';

const site = await openSite();
try {
  for (const [name, width, height] of [['telefono', 360, 780], ['escritorio', 1280, 800]]) {
    const page = await site.newPage({ width, height, hasTouch: width < 500, isMobile: width < 500 });
    await fill(page, 'docente', 'Pérez, Ana');
    await click(page, 'cargo', 'codcargo');
    await page.keyboard.type('925');
    await click(page, 'Listo', 'Option4', 'hijos', 'Iosper', 'APORTEJUB');
    await page.select('#zona', '1');
    await fill(page, 'cantidadhijos', '2');
    await calcular(page);
    // Each shows the page as "Calcular" leaves it: the top of the slip, on
    // a wide screen beside the form, with the explanation of the first amount
    // under the pointer.
    if (width > 1000) await page.hover('#Haberes tbody tr:first-child .amount-button');
    await page.screenshot({ path: join(repo, `docs/web-${name}.png`) });
    // On the phone, the same slip compared with the one paid: two rows
    // that match and one that differs, from the summary down.
    if (width < 500) {
      await click(page, 'Comparar');
      await page.keyboard.type('611,73');
      await fill(page, 'recibido-2', '107,10');
      await fill(page, 'recibido-3', '205,65');
      await click(page, 'slip-title');
      await page.waitForSelector('#comparacion-resumen[data-comparados="3"]');
      const top = await page.$eval('#comparacion-resumen', (summary) => summary.getBoundingClientRect().top + scrollY);
      await page.screenshot({ path: join(repo, 'docs/web-comparar.png'), captureBeyondViewport: true,
        clip: { x: 0, y: top - 8, width, height: 1100 } });
    }
    await page.close();
  }
} finally {
  await site.close();
}
