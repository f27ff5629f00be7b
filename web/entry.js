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

// A box that still holds what the page put there (its "0", a cargo's
// points) is selected whole when it gets the focus, by a tap, a click or
// Tab, so what is typed replaces it; the code box always is, and on every
// tap, since a code is typed whole. A box holding what the user typed keeps
// the caret where it is put. A tap or click places the caret after the
// focus arrives, so the box is selected again on that click.
function selectUntypedOnFocus(form) {
  const BOX = 'input[inputmode]';
  const WHOLE = 'codcargo';
  const typed = new WeakMap();
  const untyped = (box) => box.id === WHOLE || typed.get(box) !== box.value;
  let pointed = null;
  form.addEventListener('input', (event) => {
    if (event.target.matches(BOX)) typed.set(event.target, event.target.value);
  });
  form.addEventListener('pointerdown', (event) => {
    const box = event.target.closest(BOX);
    pointed = box && (box !== document.activeElement || box.id === WHOLE) ? box : null;
  });
  form.addEventListener('focusin', (event) => {
    if (event.target.matches(BOX) && untyped(event.target)) event.target.select();
  });
  form.addEventListener('click', (event) => {
    if (event.target === pointed && untyped(pointed)) pointed.select();
    pointed = null;
  });
}

// A refusal stands beside its field, is announced, marks the field and takes
// the focus there; what was typed stays, and so does the slip shown before.
// With a field named, only that field's refusal is cleared.
// Only the form's: the slip's comparison boxes keep refusals of their own.
export function clearRefusal(field) {
  if (field && !field.hasAttribute('aria-invalid')) return;
  const form = byId('ingreso');
  for (const message of form.querySelectorAll('.error-message')) message.remove();
  for (const invalid of form.querySelectorAll('[aria-invalid]')) {
    invalid.removeAttribute('aria-invalid');
    const describedBy = (invalid.getAttribute('aria-describedby') || '')
      .split(' ')
      .filter((id) => id && id !== 'error-text');
    if (describedBy.length) invalid.setAttribute('aria-describedby', describedBy.join(' '));
    else invalid.removeAttribute('aria-describedby');
  }
  for (const group of form.querySelectorAll('.has-error')) group.classList.remove('has-error');
}

export function showRefusal(control, text) {
  clearRefusal();
  const field = byId(control) || byId('cargo');
  const group = field.closest('.field, fieldset');
  // Hidden fields cannot be fixed: show what holds them first.
  for (let hidden = field.closest('[hidden]'); hidden; hidden = field.closest('[hidden]')) hidden.hidden = false;
  const message = document.createElement('p');
  message.className = 'error-message';
  message.id = 'error-text';
  message.setAttribute('role', 'alert');
  message.textContent = text;
  if (group.tagName === 'FIELDSET') group.querySelector('legend').after(message);
  else group.prepend(message);
  group.classList.add('has-error');
  field.setAttribute('aria-invalid', 'true');
  field.setAttribute('aria-describedby', `${field.getAttribute('aria-describedby') || ''} error-text`.trim());
  field.focus();
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
  selectUntypedOnFocus(byId('ingreso'));

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

  // The incentive is mirrored beside its box, and read out as shown; the
  // calculation reads the box.
  byId('opincentivo').addEventListener('change', (event) => {
    const paid = event.target.checked;
    byId('Text1').value = paid ? 'Si' : 'No';
    byId('Text1').setAttribute('aria-label', paid ? 'Incentivo: se cobra' : 'Incentivo: no se cobra');
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
