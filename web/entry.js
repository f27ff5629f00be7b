// The entry form: what each choice shows, hides and sets back to "0", and
// the form read as the core's input, every field as typed. No pay rule here.

const byId = (id) => document.getElementById(id);

// Deduction boxes in the order the core's input lists them.
const DEDUCTIONS = [
  ['Iosper', 'Iosper'],
  ['Osplad', 'Osplad'],
  ['AporteJub', 'APORTEJUB'],
  ['Ley4035', 'Ley4035'],
  ['Vesnar', 'VESNAR'],
  ['CajaComp', 'cajacomp'],
  ['Seguro3011', 'Seguro3011'],
];

const PATHS = { cargo: 'cargo', horasmedio: 'secondary', horassup: 'higher' };

// Optional items: checked shows the quantity, unchecked hides it and sets it
// back to "0", so an unchecked item counts for nothing.
const QUANTITIES = [
  ['inasist', 'dinasist', 'dinasist-field'],
  ['transporte', 'cantkm', 'mensajekm'],
  ['hijos', 'cantidadhijos', 'cantidadhijos-field'],
  ['hijosdisc', 'cantidadhijosdisc', 'cantidadhijosdisc-field'],
];

function show(ids, visible) {
  for (const id of ids) byId(id).hidden = !visible;
}

function reset(ids) {
  for (const id of ids) byId(id).value = '0';
}

// The twelve seniority bands and the five zones, with the texts the core
// gives for them.
function buildScale(scale) {
  const options = byId('seniority-options');
  scale.seniority.forEach((band, option) => {
    if (option === 0) return;
    const radio = document.createElement('input');
    radio.type = 'radio';
    radio.name = 'antiguedad';
    radio.id = `Option${option}`;
    radio.value = String(option);
    const percent = document.createElement('span');
    percent.className = 'band-percent';
    percent.textContent = band.percentText;
    const label = document.createElement('label');
    label.className = 'toggle';
    label.append(radio, ` ${band.caption} `, percent);
    options.append(label);
  });
  byId('porcantig').value = scale.seniority[0].percentText;

  const zona = byId('zona');
  zona.options[0].textContent = scale.zonePrompt;
  scale.zones.forEach((zone, index) => zona.add(new Option(zone.item, String(index))));
}

export function setUpEntry(scale, chooser) {
  buildScale(scale);

  // Categories. Each runs on a click, also when it was already chosen.
  byId('cargo').addEventListener('click', () => {
    chooser.open();
    show(['horas', 'Label3', 'Label4'], false);
    reset(['numhorascod06', 'numhorasincen', 'numhorascod113', 'numerohorasmed', 'numerohorassup']);
  });
  // The hours categories keep what was typed in the three shared boxes;
  // only "Cargo" sets those back to "0".
  byId('horasmedio').addEventListener('click', () => {
    show(['horas', 'Label3'], true);
    chooser.close();
    chooser.showChosen(false);
    show(['Label4'], false);
    reset(['numerohorassup']);
  });
  byId('horassup').addEventListener('click', () => {
    show(['horas', 'Label4'], true);
    chooser.close();
    reset(['numerohorasmed']);
    show(['Label3'], false);
    chooser.showChosen(false);
  });

  for (const [check, field, wrapper] of QUANTITIES) {
    byId(check).addEventListener('change', (event) => {
      show([wrapper], event.target.checked);
      if (!event.target.checked) reset([field]);
    });
  }

  // The incentive is mirrored beside its box; the calculation reads the box.
  byId('opincentivo').addEventListener('change', (event) => {
    byId('Text1').value = event.target.checked ? 'Si' : 'No';
  });

  byId('seniority-options').addEventListener('change', (event) => {
    byId('porcantig').value = scale.seniority[Number(event.target.value)].percentText;
  });
}

// Withdraws the cargo category without running its rule, as "Listo" with no
// code and "Salir sin datos" do.
export function withdrawCargo() {
  byId('cargo').checked = false;
}

export function payInput(cargo) {
  const chosen = document.querySelector('input[name="categoria"]:checked');
  const seniority = document.querySelector('input[name="antiguedad"]:checked');
  const zona = byId('zona');
  const value = (id) => byId(id).value;
  const checked = (id) => byId(id).checked;
  const input = {
    path: chosen ? PATHS[chosen.id] : 'none',
    cargo,
    hoursSecondary: value('numerohorasmed'),
    hoursHigher: value('numerohorassup'),
    hoursCode06: value('numhorascod06'),
    hoursIncentive: value('numhorasincen'),
    hoursCode113: value('numhorascod113'),
    seniorityOption: seniority ? Number(seniority.value) : 0,
    zoneIndex: zona.value === '' ? -1 : Number(zona.value),
    zoneText: zona.selectedOptions[0].textContent,
    incentive: checked('opincentivo'),
    absenceDays: value('dinasist'),
    transport: checked('transporte'),
    kilometres: value('cantkm'),
    children: checked('hijos'),
    childrenCount: value('cantidadhijos'),
    disabledChildren: checked('hijosdisc'),
    disabledChildrenCount: value('cantidadhijosdisc'),
    spouse: checked('conyuge'),
    deductions: {},
    decimalSeparator: ',',
  };
  for (const [name, id] of DEDUCTIONS) input.deductions[name] = checked(id);
  return input;
}
