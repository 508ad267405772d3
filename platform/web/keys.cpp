#include "keys.h"

#include <GL/glut.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const struct {
    const char* name;
    int key, special;
} kNamed[] = {
    {"Enter", 13, 0},
    {"Escape", 27, 0},
    {"Tab", 9, 0},
    {"Backspace", 8, 0},
    {"Delete", 127, 0},
    {"ArrowLeft", 0, GLUT_KEY_LEFT},
    {"ArrowUp", 0, GLUT_KEY_UP},
    {"ArrowRight", 0, GLUT_KEY_RIGHT},
    {"ArrowDown", 0, GLUT_KEY_DOWN},
    {"PageUp", 0, GLUT_KEY_PAGE_UP},
    {"PageDown", 0, GLUT_KEY_PAGE_DOWN},
    {"Home", 0, GLUT_KEY_HOME},
    {"End", 0, GLUT_KEY_END},
    {"Insert", 0, GLUT_KEY_INSERT},
};
constexpr int kNamedCount = sizeof kNamed / sizeof kNamed[0];
constexpr int kFunctionKeys = 12;  // F1 to F12
constexpr char kFirstPrintable = ' ', kLastPrintable = '~';

}  // namespace

int webKeyCode(const char* name, bool ctrl, int* special) {
    *special = 0;
    for (const auto& k : kNamed)
        if (!std::strcmp(name, k.name)) return *special = k.special, k.key;
    if (name[0] == 'F' && name[1] >= '1' && name[1] <= '9') {
        char* end = nullptr;
        const long n = std::strtol(name + 1, &end, 10);
        if (!*end && n <= kFunctionKeys) *special = GLUT_KEY_F1 + int(n) - 1;
        return 0;
    }
    // One printable ASCII character: the character typed, whatever the layout.
    const unsigned char c = name[0];
    if (!c || name[1] || c < kFirstPrintable || c > kLastPrintable) return 0;
    const bool letter = (c | 32) >= 'a' && (c | 32) <= 'z';
    return ctrl && letter ? c & 31 : c;
}

const char* webKeyName(int index) {
    // Written as asked for: "F1" to "F12", then each printable character alone.
    static char made[kFunctionKeys + kLastPrintable - kFirstPrintable + 1][4] = {};
    if (index < 0) return nullptr;
    if (index < kNamedCount) return kNamed[index].name;
    index -= kNamedCount;
    if (index < kFunctionKeys) {
        std::snprintf(made[index], sizeof made[index], "F%d", index + 1);
        return made[index];
    }
    const int c = kFirstPrintable + index - kFunctionKeys;
    if (c > kLastPrintable) return nullptr;
    made[index][0] = char(c);
    return made[index];
}
