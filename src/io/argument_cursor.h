// Walks a C argument list left to right. Queryf shares one cursor between the command and the
// response format, so the response's destinations follow the command's arguments.
#pragma once

#include <cstdarg>

#include "zpv4870_runtime.h"

namespace zpv::io {

class ArgumentCursor {
public:
    explicit ArgumentCursor(va_list args) { va_copy(args_, args); }
    ~ArgumentCursor() { va_end(args_); }
    ArgumentCursor(const ArgumentCursor&) = delete;
    ArgumentCursor& operator=(const ArgumentCursor&) = delete;

    // 8-, 16- and 32-bit values and booleans arrive promoted to int.
    int NextInt() { return va_arg(args_, int); }
    LONGLONG NextInt64() { return va_arg(args_, long long); }
    double NextDouble() { return va_arg(args_, double); }
    template <class T>
    T* NextPointer() {
        return va_arg(args_, T*);
    }

private:
    va_list args_;
};

}  // namespace zpv::io
