// Writes which keys the program takes, made at build time from its own key functions, for the
// page: it must tell the browser in the same event whether Vexo takes a key, so that the
// browser's own keys stay the browser's, while the program may be busy on another thread. A
// JSON object from each key's name (KeyboardEvent.key) to the sets of modifiers it is taken
// with, one bit each: 1 << (shift + 2 x ctrl + 4 x alt). Usage: key_table > keys.json
#include <GL/glut.h>

#include <csetjmp>
#include <cstdio>

#include <vexo/manipulator.h>
#include "keys.h"
#include "viewer.h"

namespace {

std::jmp_buf quitting;
[[noreturn]] void quits() { std::longjmp(quitting, 1); }

// Whether the program takes the key, from its start: Escape, which quits, is taken too.
bool taken(const char* name, int modifiers) {
    viewerReset();
    manipReset();
    int special = 0;
    const int key = webKeyCode(name, modifiers & GLUT_ACTIVE_CTRL, &special);
    if (setjmp(quitting)) return true;
    return viewerPressEvent(key, special, modifiers) != VIEWER_KEY_IGNORED;
}

}  // namespace

int main() {
    manipSetQuitHook(quits);
    std::printf("{");
    const char* separator = "";
    for (int i = 0; const char* name = webKeyName(i); ++i) {
        int sets = 0;
        for (int set = 0; set < 8; ++set) {
            const int modifiers = (set & 1 ? GLUT_ACTIVE_SHIFT : 0) |
                                  (set & 2 ? GLUT_ACTIVE_CTRL : 0) |
                                  (set & 4 ? GLUT_ACTIVE_ALT : 0);
            if (taken(name, modifiers)) sets |= 1 << set;
        }
        if (!sets) continue;
        std::printf("%s\"%s%s\":%d", separator, *name == '"' || *name == '\\' ? "\\" : "", name,
                    sets);
        separator = ",";
    }
    std::printf("}\n");
    return 0;
}
