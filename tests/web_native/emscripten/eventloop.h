#pragma once
long emscripten_set_timeout(void (*callback)(void*), double ms, void* data);
