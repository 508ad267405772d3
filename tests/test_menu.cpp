#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "gl_support.h"
#include "quit_menu.h"

namespace {

void announce() { std::fprintf(stderr, "hook ran\n"); }

// What the menu asked of GLUT: this test is linked with GLUT's two calls wrapped.
std::vector<std::pair<std::string, int>> entries;
std::vector<int> attached;

class MenuGl : public GlTest {};

TEST_F(MenuGl, HasOneEntryOnTheRightButton) {
    ASSERT_NE(glutGetMenu(), 0);
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 1);
    using Entry = std::pair<std::string, int>;
    EXPECT_EQ(entries, std::vector<Entry>{Entry("Quitter", QUIT_MENU_QUIT)});
    EXPECT_EQ(attached, std::vector<int>{GLUT_RIGHT_BUTTON});
}

TEST(QuitMenu, QuitterRunsTheHookThenExitsCleanly) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(quitMenuHook(), nullptr);
    EXPECT_EXIT(quitMenuHandler(QUIT_MENU_QUIT), ::testing::ExitedWithCode(0), "");
    quitMenuSetHook(announce);
    EXPECT_EXIT(quitMenuHandler(QUIT_MENU_QUIT), ::testing::ExitedWithCode(0), "hook ran");
    quitMenuSetHook(nullptr);
}

}  // namespace

extern "C" {
void __real_glutAddMenuEntry(const char* label, int value);
void __real_glutAttachMenu(int button);
void __wrap_glutAddMenuEntry(const char* label, int value) {
    entries.emplace_back(label, value);
    __real_glutAddMenuEntry(label, value);
}
void __wrap_glutAttachMenu(int button) {
    attached.push_back(button);
    __real_glutAttachMenu(button);
}
}
