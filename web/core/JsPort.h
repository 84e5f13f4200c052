#pragma once
// The engine's port when the page owns the line: bytes go to the script's
// port object (Module.zkPort) and a wait is an await on it, so the browser
// keeps running while the engine waits. The port object has
//   write(Uint8Array)        hands bytes to the line, in order
//   receive(ms) -> Promise<Uint8Array>
//                            resolves after ms with every byte that arrived
//   ready() -> bool          whether the line is open
//   drain() -> Promise       (optional) resolves once written bytes left
#include "RadioLink.h"

namespace zk::web {

// A radio link whose sends, waits and readiness are the script port's;
// the bytes a wait brings reach the link's receive handler as it ends.
class JsPortLink {
public:
    JsPortLink();
    JsPortLink(const JsPortLink&) = delete;
    JsPortLink& operator=(const JsPortLink&) = delete;

    RadioLink& link() { return link_; }

private:
    void waitOnPort(int milliseconds);

    RadioLink link_;
};

// Awaits the port's drain, when it has one: between two procedures.
void drainJsPort();

// Tells the page's progress callback (Module.zkProgress), when set.
void reportProgress(const char* label, int blocksDone);

} // namespace zk::web
