// The page's only door to the calculation: the same C++ core the desktop
// runs, compiled to WebAssembly. Texts cross as UTF-8 with their length, so
// that every character, NUL included, arrives and comes back whole; nothing
// here computes or formats an amount.

import createReciboCore from './recibo-core.js';

const encoder = new TextEncoder();
const decoder = new TextDecoder();

// A string as UTF-8 can carry it: a lone half of a surrogate pair becomes
// U+FFFD, as the encoder would write it. (With the u flag the class matches
// only halves without their pair.)
const wholeCharacters = (key, value) => (typeof value === 'string' ? value.replace(/[\uD800-\uDFFF]/gu, '\uFFFD') : value);

// `value` as JSON, or '' where JSON cannot write it (a cycle, a BigInt): the
// core refuses '' as it refuses any text that is not an input.
function jsonOf(value) {
  try {
    return JSON.stringify(value ?? {}, wholeCharacters) ?? '';
  } catch {
    return '';
  }
}

// Loads recibo-core.wasm from beside this module and answers with the
// catalogue, the scale's choices and the calculation.
export async function loadCore() {
  const wasm = await createReciboCore({
    locateFile: (name) => new URL(name, import.meta.url).href,
  });

  // The text the module answered at `address` (it keeps it until its next call).
  const answer = (address) => decoder.decode(wasm.HEAPU8.subarray(address, address + wasm._recibo_answer_size()));

  // Calls `exported` with `text` copied into the module's memory, and its length.
  const callWithText = (exported, text) => {
    const bytes = encoder.encode(text);
    const address = wasm._malloc(bytes.length || 1);
    try {
      wasm.HEAPU8.set(bytes, address);
      return exported(address, bytes.length);
    } finally {
      wasm._free(address);
    }
  };

  const catalogue = deepFreeze(JSON.parse(answer(wasm._recibo_catalogue())));
  const scale = deepFreeze(JSON.parse(answer(wasm._recibo_scale())));

  return Object.freeze({
    catalogue,
    scale,

    // The index of the catalogue row whose code is exactly `text`, or -1.
    findCargoByCode(text) {
      return callWithText(wasm._recibo_find_cargo, String(text));
    },

    // {ok: true, slip} or {ok: false, control, message}, whatever `input` is.
    calculate(input) {
      return JSON.parse(answer(callWithText(wasm._recibo_calculate, jsonOf(input))));
    },

    // The slip as "Copiar el recibo" copies it, or '' when the input is refused.
    slipText(input, { teacher = '', dateLine = '', comment = '' } = {}) {
      return answer(callWithText(wasm._recibo_slip_text, jsonOf({ input: input ?? {}, teacher, dateLine, comment })));
    },

    // The slip of `input` against the amounts typed from a paid slip
    // ({rows, thaberes, tdescuentos, liquido, added}): {ok: true, rows,
    // thaberes, tdescuentos, liquido, added, summary, text}, each box's
    // verdict worded, or the input's refusal.
    compare(input, comparison) {
      const request = jsonOf({ input: input ?? {}, comparison: comparison ?? {} });
      return JSON.parse(answer(callWithText(wasm._recibo_compare, request)));
    },
  });
}

function deepFreeze(value) {
  if (value && typeof value === 'object') {
    Object.values(value).forEach(deepFreeze);
    Object.freeze(value);
  }
  return value;
}
