// The page's only door to the calculation: the same C++ core the desktop
// runs, compiled to WebAssembly. Texts cross as UTF-8 JSON; nothing here
// computes or formats an amount.

import createReciboCore from './recibo-core.js';

const encoder = new TextEncoder();
const decoder = new TextDecoder();

// Loads recibo-core.wasm from beside this module and answers with the
// catalogue, the scale's choices and the calculation.
export async function loadCore() {
  const wasm = await createReciboCore({
    locateFile: (name) => new URL(name, import.meta.url).href,
  });

  // The NUL-terminated UTF-8 text at `address` of the module's memory.
  const textAt = (address) => {
    const heap = wasm.HEAPU8;
    let end = address;
    while (heap[end] !== 0) end += 1;
    return decoder.decode(heap.subarray(address, end));
  };

  // Calls `exported` with `text` copied into the module's memory and reads
  // the text it answers (the module keeps that until its next call).
  const callWithText = (exported, text) => {
    const bytes = encoder.encode(text);
    const address = wasm._malloc(bytes.length + 1);
    try {
      wasm.HEAPU8.set(bytes, address);
      wasm.HEAPU8[address + bytes.length] = 0;
      return exported(address);
    } finally {
      wasm._free(address);
    }
  };

  const catalogue = deepFreeze(JSON.parse(textAt(wasm._recibo_catalogue())));
  const scale = deepFreeze(JSON.parse(textAt(wasm._recibo_scale())));

  return Object.freeze({
    catalogue,
    scale,

    // The index of the catalogue row whose code is exactly `text`, or -1.
    findCargoByCode(text) {
      return callWithText(wasm._recibo_find_cargo, String(text));
    },

    // {ok: true, slip} or {ok: false, control, message}.
    calculate(input) {
      return JSON.parse(textAt(callWithText(wasm._recibo_calculate, JSON.stringify(input ?? {}))));
    },

    // The slip as "Copiar el recibo" copies it, or '' when the input is refused.
    slipText(input, { teacher = '', dateLine = '', comment = '' } = {}) {
      const request = JSON.stringify({ input: input ?? {}, teacher, dateLine, comment });
      return textAt(callWithText(wasm._recibo_slip_text, request));
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
