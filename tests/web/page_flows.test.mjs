// The page as a user works it: fill, choose, "Calcular", read the slip's
// table. Expected amounts are worked by hand from the pay scale.

import assert from 'node:assert/strict';
import { describe, it } from 'node:test';

import { calcular, cargoByCode, chooseZone, click, explanationOf, fill, readSlip, useSite } from './page.mjs';

const ALL_DEDUCTIONS = ['Iosper', 'Osplad', 'VESNAR', 'APORTEJUB', 'cajacomp', 'Ley4035', 'Seguro3011'];

const FLOWS = [
  {
    // 1000 basic points and nothing else (the chooser's boxes overtyped), 30 %
    // seniority, zone "Alejada radio urbano", incentive, two children,
    // spouse and every deduction. Contribution base 1219,8.
    name: 'the complete slip of a cargo chosen by code, its point boxes overtyped',
    async steps(page) {
      await fill(page, 'docente', 'Pérez, Ana');
      await click(page, 'cargo', 'codcargo');
      await page.keyboard.type('609');
      await fill(page, 'punbas', '1000');
      await fill(page, 'compbas', '0');
      await click(page, 'Listo', 'Option4');
      await chooseZone(page, 1);
      await click(page, 'hijos');
      await fill(page, 'cantidadhijos', '2');
      await click(page, 'conyuge', ...ALL_DEDUCTIONS);
    },
    rows: [
      ['001', '1', 'Asign. de la categoría', '$630', ''],
      ['010', '30 %', 'Antigüedad', '$ 189', ''],
      ['078', '20 %', 'As. por zona', '$ 126', ''],
      ['006', '', 'Adic. Art 2 y 3 Dcrto 5863/05', '$ 195', ''],
      ['014', '0,7', 'Product Dcrto 5863/05', '$ 13,65', ''],
      ['084', '', 'Incentivo de Nación', '$ 110', ''],
      ['113', '', 'Negro de Nación', '$ 100', ''],
      ['188', '7.0', 'Plus Productividad', '$ 66,15', ''],
      ['172', '', 'Adic para mínimo', '$ 366,6107', ''],
      ['1001', '2', 'Sal fam hijo', '$ 150', ''],
      ['1010', '', 'Sal fam Cony', '$ 15', ''],
      ['505', '3 %', 'IOSPER', '', '$ 36,594'],
      ['508', '3 %', 'OSPLAD', '', '$ 36,594'],
      ['502', '16 %', 'Aporte Jub.', '', '$ 195,168'],
      ['504', '0,6 %', 'Ley 4035', '', '$ 7,3188'],
      ['332', '2 %', 'VESNAR', '', '$ 26,596'],
      ['512', '4,5 %', 'Caja Comp.', '', '$ 54,891'],
      ['510', '2 %', 'Seguro 3011', '', '$ 24,396'],
    ],
    totals: ['$ 1961,4107', '$ 381,5578', '$ 1579,8529'],
    panel: { Label11: 'Código del cargo', numcargo: '609', punbasicos: '2000', carsel: 'Director 1era Categoría',
      pointBoxesShown: true },
    explanations: { '001': '1000 puntos × 0,63 = 630' },
  },
  {
    // The third "Bibliotecario": 971 basic and 170 complement points.
    // 611,73 + 107,1 = 718,83; 30 % of it 215,649 and 20 % 143,766.
    name: 'a cargo chosen by its name',
    async steps(page) {
      await click(page, 'cargo', 'cargox');
      await page.keyboard.type('Bibliotecario (925)');
      await click(page, 'Listo', 'Option4');
      await chooseZone(page, 1);
    },
    rows: [
      ['001', '1', 'Asign. de la categoría', '$611,73', ''],
      ['002', '', 'Comp. de Básico', '$ 107,1', ''],
      ['010', '30 %', 'Antigüedad', '$ 215,649', ''],
      ['078', '20 %', 'As. por zona', '$ 143,766', ''],
      ['006', '', 'Adic. Art 2 y 3 Dcrto 5863/05', '$ 225', ''],
      ['014', '0,7', 'Product Dcrto 5863/05', '$ 15,75', ''],
    ],
    panel: { Label11: 'Código del cargo', numcargo: '925', punbasicos: '971', carsel: 'Bibliotecario',
      pointBoxesShown: true },
    explanations: { '002': '170 puntos × 0,63 = 107,1' },
  },
  {
    // 620 full-day points typed over the catalogue's 0: 620 × 0,77 = 477,4,
    // and the base of seniority and zone grows to 1196,23.
    name: 'a cargo chosen by code with its full-day points overtyped',
    async steps(page) {
      await cargoByCode(page, '925');
      await click(page, 'cargo');
      await fill(page, 'jorcom', '620');
      await click(page, 'Listo', 'Option4');
      await chooseZone(page, 1);
    },
    rows: [
      ['001', '1', 'Asign. de la categoría', '$611,73', ''],
      ['002', '', 'Comp. de Básico', '$ 107,1', ''],
      ['052', '', 'Jornada completa', '$ 477,4', ''],
      ['010', '30 %', 'Antigüedad', '$ 358,869', ''],
      ['078', '20 %', 'As. por zona', '$ 239,246', ''],
    ],
    explanations: {
      '052': '620 puntos × 0,77 = 477,4',
      '010': '30 % de 1196,23 (básico + comp. + tarea dif. + jornada)',
    },
  },
  {
    // 7,5 × 64,7 × 0,63 = 305,7075; 35 hours with code 06 pay the top of 30.
    name: 'hours at secondary level',
    async steps(page) {
      await click(page, 'horasmedio');
      await fill(page, 'numerohorasmed', '7,5');
      await fill(page, 'numhorascod06', '35');
    },
    rows: [
      ['001', '7,5', 'Hs. N. Medio', '$305,7075', ''],
      ['006', '30', 'Adic. Art 2 y 3 Dcrto 5863/05', '$ 282', ''],
    ],
    panel: { Label11: 'Cantidad de horas', numcargo: '7,5', punbasicos: '485,25', carsel: 'Horas de nivel medio',
      pointBoxesShown: false },
  },
  {
    // 10 × 86,9 × 0,63 = 547,47; plus 7 % of it, 38,3229; nothing deducted.
    name: 'hours at higher level, nothing else',
    async steps(page) {
      await click(page, 'horassup');
      await fill(page, 'numerohorassup', '10');
    },
    rows: [
      ['001', '10', 'Hs. N. Superior', '$547,47', ''],
      ['006', '0', 'Adic. Art 2 y 3 Dcrto 5863/05', '$ 0', ''],
      ['014', '0,7', 'Product Dcrto 5863/05', '$ 0', ''],
      ['113', '0', 'Negro de Nación', '$ 0', ''],
      ['188', '7.0', 'Plus Productividad', '$ 38,3229', ''],
    ],
    totals: ['$ 585,7929', '$ 0', '$ 585,7929'],
    panel: { Label11: 'Cantidad de horas', numcargo: '10', punbasicos: '869', carsel: 'Horas de nivel superior',
      pointBoxesShown: false },
  },
];

describe('the page as a user works it', () => {
  const site = useSite();

  for (const flow of FLOWS) {
    it(flow.name, async () => {
      const page = await site.newPage();
      await flow.steps(page);
      await calcular(page);
      const slip = await readSlip(page);
      assert.ok(slip.shown);
      if (flow.totals) {
        assert.deepEqual(slip.rows, flow.rows);
        assert.deepEqual([slip.thaberes, slip.tdescuentos, slip.liquido], flow.totals);
      } else {
        assert.deepEqual(slip.rows.slice(0, flow.rows.length), flow.rows);
      }
      if (flow.panel) assert.deepEqual(slip.panel, flow.panel);
      for (const [code, explanation] of Object.entries(flow.explanations ?? {})) {
        const index = slip.rows.findIndex((row) => row[0] === code);
        const column = slip.rows[index][3] ? 4 : 5;
        assert.equal(await explanationOf(page, `#Haberes tbody tr:nth-child(${index + 1}) td:nth-child(${column})`),
          explanation);
      }
      await page.close();
    });
  }
});
