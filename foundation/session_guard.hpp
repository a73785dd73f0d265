// The gates of a session: the few calls through which all drawing passes (the
// session's open, frame and close, and the opening of every primitive) check
// two things cheaply before they do any work.
//
// Threads: the library is single-threaded. While a session is open, a call
// from another thread than the one that opened it is an error report (to the
// error callback, if one is installed) and does not return: the session's own
// thread finishes the output and ends the process at its next gate, so that two
// threads never draw at once.
//
// Signals: when the application has no handler of its own for SIGINT, SIGTERM
// or SIGHUP, the session notes such a signal and, at the next gate, finishes
// the output (the finished pages of a PDF file stay readable) and ends as the
// signal would. A second signal while the first waits ends the process at once.
// The session's caller passes false (SW LSIGNL) to leave the signals alone.
//
// Memory: an allocation that fails where no caller-sized buffer was checked
// ends the process with an error report (named after the last gate passed) and
// the output finisher, instead of "terminate called ... std::bad_alloc".
#pragma once

namespace zep::guard {

// A session was opened by the calling thread; with `finishOnSignal`, the
// signals that the application left to their default are watched.
void sessionOpened(bool finishOnSignal);
// The session was closed: the signals go back to what they were.
void sessionClosed();
// The gate, at the start of `routine`.
void enter(const char* routine);

}  // namespace zep::guard
