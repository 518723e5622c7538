// What the screen's life cycle asks of the link thread: start one, hand it a link, tell it to stop.
// Invariant: a stop clears s_running and then raises the thread's wake signal, so it never
// misses a sleeping thread.
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
