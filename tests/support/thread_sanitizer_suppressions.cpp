// What ThreadSanitizer passes over in the tests' runs (preset tsan): Qt's thread pool only. Qt
// Gui shares large image conversions and fills out to the pool's threads and waits for them; the
// pool queues its tasks, runs and deletes them, and ends its threads, all through Qt's own locks,
// which ThreadSanitizer can't see in Qt's uninstrumented libraries: it would take every hand-over
// for a race. The program's own threads hand over through the standard library, which it sees.
// Built into the tests of the ThreadSanitizer build only.
extern "C" const char* __tsan_default_suppressions() {
  return
      // Memory that Qt Gui's code allocates, copies and frees on the pool's threads.
      "called_from_lib:libQt6Gui.so.6\n"
      // A task, made and queued by the thread that asks for it, run and deleted by a pool thread.
      "race:QRunnable::create\n"
      "race:QThreadPoolPrivate::enqueueTask\n"
      // A pool thread's wait condition, destroyed as the pool ends, after the thread has.
      "race:QWaitCondition::~QWaitCondition\n";
}
