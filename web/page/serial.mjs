// The radio's cable through Web Serial, as a port object for the engine
// (see transfer.mjs): 9600 baud, 8 data bits, no parity, 1 stop bit.
export const kLineOptions = Object.freeze({ baudRate: 9600, dataBits: 8, parity: 'none', stopBits: 1, flowControl: 'none' });

export function hasWebSerial(nav = navigator) {
  return Boolean(nav.serial && typeof nav.serial.requestPort === 'function');
}

// "USB 1a86:7523": the ids a USB serial adapter reports, when it does.
export function usbIds(info) {
  const hex = (n) => n.toString(16).padStart(4, '0');
  return info && info.usbVendorId !== undefined ? `USB ${hex(info.usbVendorId)}:${hex(info.usbProductId ?? 0)}` : 'not USB';
}

// Opens the chosen port and keeps reading it into a buffer that receive()
// hands out. A pulled cable ends the reading: ready() turns false and
// nothing more arrives, so a running transfer fails at its next wait.
export async function openSerialPort(serialPort, { onGone = () => {} } = {}) {
  await serialPort.open(kLineOptions);
  const arrived = [];
  let open = true;
  const writer = serialPort.writable.getWriter();
  let lastWrite = Promise.resolve();
  const reader = serialPort.readable.getReader();

  const reading = (async () => {
    try {
      for (;;) {
        const { value, done } = await reader.read();
        if (done)
          break;
        arrived.push(...value);
      }
    } catch {
      // The device went away; the close below says so.
    }
    if (open) {
      open = false;
      onGone();
    }
  })();

  return {
    info: serialPort.getInfo(),
    ready: () => open,
    write(bytes) {
      if (open)
        lastWrite = writer.write(bytes).catch(() => {});
    },
    receive(milliseconds) {
      return new Promise((resolve) => setTimeout(() => resolve(Uint8Array.from(arrived.splice(0))), milliseconds));
    },
    drain: () => lastWrite,
    async close() {
      open = false;
      await reader.cancel().catch(() => {});
      await reading;
      reader.releaseLock();
      writer.releaseLock();
      await serialPort.close().catch(() => {});
    },
  };
}
