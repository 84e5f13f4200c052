// Stands in for navigator.serial before the page starts: requestPort gives
// a port whose far end is the virtual radio (a SimRadio in a second module
// instance), carried byte by byte at 9600 baud. "?no-serial" in the address
// takes Web Serial away instead, as Firefox and Safari have none.
import { simulatedPort } from './simulated-port.mjs';

const radioCore = createZkTestCore();
export const radio = radioCore.then((core) => new core.SimRadio());

function fakePort(far) {
  let line = null;
  return {
    getInfo: () => ({ usbVendorId: 0x1a86, usbProductId: 0x7523 }),
    async open(options) {
      this.openedWith = options;
      line = simulatedPort(far);
      // The page reads through streams, as from a real port.
      this.readable = new ReadableStream({
        // A pull that enqueues nothing is not called again: wait for bytes.
        async pull(controller) {
          for (;;) {
            const bytes = await line.receive(20);
            if (!line.ready())
              return controller.close();
            if (bytes.length)
              return controller.enqueue(bytes);
          }
        },
      });
      this.writable = new WritableStream({ write: (bytes) => line.write(bytes) });
    },
    async close() { line?.close(); },
    unplug() { line?.close(); },
  };
}

if (new URLSearchParams(location.search).has('no-serial')) {
  Object.defineProperty(Navigator.prototype, 'serial', { value: undefined, configurable: true });
} else {
  const fake = { requestPort: async () => { fake.port = fakePort(await radio); return fake.port; } };
  Object.defineProperty(Navigator.prototype, 'serial', { get: () => fake, configurable: true });
}
