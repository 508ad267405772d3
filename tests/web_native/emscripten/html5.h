#pragma once
typedef int EM_BOOL;
#define EM_FALSE 0
long emscripten_request_animation_frame(EM_BOOL (*callback)(double, void*), void* data);
