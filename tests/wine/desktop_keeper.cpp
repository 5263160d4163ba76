// Keeps Wine's desktop open while a test run goes on. Wine ends its desktop process a second
// after the last program on the desktop has ended, and the next program with a window starts it
// again as its own child, which then holds that test's output open: CTest would wait for the test
// until the desktop next closed. Started beside CTest, this program stays on the desktop; the end
// of the run takes it down with the Wine server.
#include <windows.h>

int main() {
    // Asking for the desktop window starts the desktop process when there is none.
    ::GetDesktopWindow();
    ::Sleep(INFINITE);
}
