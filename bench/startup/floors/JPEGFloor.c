/* The floor of colouring one JPEG in a process of its own: libjpeg alone decodes it at
 * 1/8 scale (as a colour needs no more) and sums the pixels. JPEGFloor FILE prints the
 * sum; exit 1 when the file does not decode. */
#include <stddef.h>
#include <stdio.h>
/* jpeglib.h needs size_t and FILE declared first. */
#include <jpeglib.h>
#include <setjmp.h>
#include <stdlib.h>

struct errors {
    struct jpeg_error_mgr manager;
    jmp_buf jump;
};

static void fail(j_common_ptr info)
{
    longjmp(((struct errors*)info->err)->jump, 1);
}

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    FILE* file = fopen(argv[1], "rb");
    if (!file)
        return 1;
    struct jpeg_decompress_struct info;
    struct errors errors;
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = fail;
    unsigned long long sum = 0;
    JSAMPLE* row = NULL;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        fclose(file);
        free(row);
        return 1;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1;
    info.scale_denom = 8;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    size_t stride = (size_t)info.output_width * (size_t)info.output_components;
    row = malloc(stride);
    while (info.output_scanline < info.output_height) {
        jpeg_read_scanlines(&info, &row, 1);
        for (size_t i = 0; i < stride; ++i)
            sum += row[i];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    fclose(file);
    free(row);
    printf("%llu\n", sum);
    return 0;
}
