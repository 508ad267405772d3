#include <GL/glut.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "gl_support.h"
#include "quit_menu.h"

namespace {

void announce() { std::fprintf(stderr, "hook ran\n"); }

class MenuGl : public GlTest {};

TEST_F(MenuGl, HasOneEntryOnTheRightButton) {
    ASSERT_NE(glutGetMenu(), 0);
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 1);
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
