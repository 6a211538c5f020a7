#pragma once
// libjpeg's errors as a jump back to the decoding function (libjpeg's default exits the
// process). The floors decode with libjpeg directly, so they share this rather than the
// platform's decoder.

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

struct JPEGErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

inline void failJPEG(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JPEGErrors*>(info->err)->jump, 1);
}
