// A port object whose far end is the virtual radio's protocol (a SimRadio
// of the test module): what the engine writes is fed to it, and its reply
// pieces arrive after their pauses at the pace of a 9600 baud line.
export function simulatedPort(radio, { baud = 9600 } = {}) {
  const arrived = [];
  let lineFreeAt = 0;
  let open = true;
  const bytesTime = (count) => (count * 10 * 1000) / baud;

  return {
    ready: () => open,
    write(bytes) {
      if (!open)
        return;
      for (const piece of radio.feed(bytes)) {
        const start = Math.max(performance.now(), lineFreeAt) + piece.pauseMs;
        lineFreeAt = start + bytesTime(piece.bytes.length);
        const due = lineFreeAt - performance.now();
        setTimeout(() => { if (open) arrived.push(...piece.bytes); }, due);
      }
    },
    receive(milliseconds) {
      return new Promise((resolve) => setTimeout(() => resolve(Uint8Array.from(arrived.splice(0))), milliseconds));
    },
    // The cable pulled: nothing more arrives and nothing leaves.
    close() { open = false; },
  };
}
