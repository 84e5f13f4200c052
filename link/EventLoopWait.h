#pragma once
// The message-pumping wait: lets the given time pass inside a nested event
// loop, so received bytes, clicks and repaints are all handled meanwhile,
// without spinning a core.
namespace zk {

void pumpEventsFor(int milliseconds);

} // namespace zk
