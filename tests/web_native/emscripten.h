// The page's C++ side built natively for its tests: what it would call in the page's script is
// recorded instead (webNativeCalls), and its exports are plain functions.
#pragma once

#include <string>

#define EMSCRIPTEN_KEEPALIVE
#define EM_JS(ret, name, params, ...) \
    ret name params { webNativeCalls() += #name " "; }

std::string& webNativeCalls();
