// What the screen's life cycle asks of the link thread: start one, hand it a link, tell it to stop.
// Invariant: s_running only changes under the thread's wake lock, so a stop never misses a sleeper.
#pragma once

class String;

namespace igp {

// A new link thread for this visit (any previous one must have been stopped and joined).
void startLinkThread();
// Clears s_running and wakes the thread, which then ends without waiting out its poll.
void endRunning();
// The chosen link, waiting for the thread; a later offer replaces one not yet taken.
void offerLink(String* link);

}  // namespace igp
