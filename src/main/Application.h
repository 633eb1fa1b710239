#pragma once

// The program's run: start-up, the main loop and shutdown. The result is
// the exit code: 1 when another copy already runs, 0 otherwise (a window
// that could not be made included).
class Application {
public:
    int Run();

private:
    // False when this copy must not run.
    bool StartUp();
    void ShutDown(bool normalEnd);
};

// Takes and dispatches every waiting window message; when none waits it
// sleeps while the window is inactive and otherwise runs one frame. Ends at
// the quit message.
void RunMainLoop();
