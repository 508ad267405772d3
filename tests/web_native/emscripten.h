// The page's C++ side built natively for its tests: what it would ask of the page's script is
// recorded instead (webNativeCalls), answered with webNativeAnswers (0 for what is not there),
// and its exports are plain functions. The browser's event loop is the test's (eventloop.h).
#pragma once

#include <map>
#include <string>
#include <type_traits>

#define EMSCRIPTEN_KEEPALIVE
#define EM_JS(ret, name, params, ...) \
    ret name params { return webNativeCall<ret>(#name); }

std::string& webNativeCalls();
std::map<std::string, int>& webNativeAnswers();

template <class T>
T webNativeCall(const char* name) {
    webNativeCalls() += std::string(name) + " ";
    if constexpr (!std::is_void_v<T>) return T(webNativeAnswers()[name]);
}

double emscripten_get_now();
void emscripten_exit_with_live_runtime();
