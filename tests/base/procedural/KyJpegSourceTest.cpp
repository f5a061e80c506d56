// The JPEG source manager over a KY_File: whole, cut short, empty, skipping.
#include "base/procedural/KyJpeg.h"
#include "tests/base/procedural/CodecSamples.h"
#include "tests/base/procedural/FileTestSupport.h"

#include <jerror.h>

#include <csetjmp>
#include <string>

namespace {

std::string EncodeJpeg(int width, int height) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* data = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &data, &size);
    c.image_width = width;
    c.image_height = height;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_start_compress(&c, TRUE);
    std::string pixels = RandomBytes(width * 3 * height);
    for (int y = 0; y < height; ++y) {
        JSAMPROW rows[1] = {reinterpret_cast<JSAMPROW>(&pixels[y * width * 3])};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<char*>(data), size);
    jpeg_destroy_compress(&c);
    free(data);
    return out;
}

struct Outcome {
    int error;  // message code of the fatal error, 0 when none
    int warnings;
    int eofWarnings;  // JWRN_JPEG_EOF among them
    int rows;
};

struct TestErrorMgr {
    jpeg_error_mgr pub;
    jmp_buf jump;
    Outcome* outcome;
};

void ErrorExit(j_common_ptr cinfo) {
    TestErrorMgr* mgr = reinterpret_cast<TestErrorMgr*>(cinfo->err);
    mgr->outcome->error = mgr->pub.msg_code;
    longjmp(mgr->jump, 1);
}

void EmitMessage(j_common_ptr cinfo, int level) {
    TestErrorMgr* mgr = reinterpret_cast<TestErrorMgr*>(cinfo->err);
    if (level < 0) {
        ++mgr->outcome->warnings;
        mgr->outcome->eofWarnings += mgr->pub.msg_code == JWRN_JPEG_EOF;
    }
}

// Plain data only in this frame: the library's error exit longjmps here.
void Decode(KY_File* file, Outcome* outcome) {
    static jpeg_decompress_struct d;
    static TestErrorMgr mgr;
    static unsigned char row[3 * 160];
    d.err = jpeg_std_error(&mgr.pub);
    mgr.pub.error_exit = ErrorExit;
    mgr.pub.emit_message = EmitMessage;
    mgr.outcome = outcome;
    jpeg_create_decompress(&d);
    if (setjmp(mgr.jump)) {
        jpeg_destroy_decompress(&d);
        return;
    }
    KY_JpegStreamSrc(&d, file);
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    while (d.output_scanline < d.output_height) {
        JSAMPROW rows[1] = {row};
        jpeg_read_scanlines(&d, rows, 1);
        ++outcome->rows;
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
}

class JpegSourceTest : public TempFolderTest {};

TEST_F(JpegSourceTest, DecodesWholeCutAndEmptyStreams) {
    const std::string jpeg = EncodeJpeg(160, 128);
    struct Row {
        const char* name;
        std::string data;
        Outcome expected;
    } rows[] = {
        {"whole", jpeg, {0, 0, 0, 128}},
        {"cut after its first buffer", jpeg.substr(0, jpeg.size() * 2 / 3), {0, 1, 1, 128}},
        {"empty file", "", {JERR_INPUT_EMPTY, 0, 0, 0}},
    };
    ASSERT_GT(jpeg.size() * 2 / 3, 4096u);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        WriteAll(PathOf("image.jpg"), row.data);
        KY_File* file = KY_FOpen(Spec("image.jpg"), "rb");
        ASSERT_NE(nullptr, file);
        Outcome got = {0, 0, 0, 0};
        Decode(file, &got);
        EXPECT_EQ(row.expected.error, got.error);
        EXPECT_EQ(row.expected.rows, got.rows);
        EXPECT_EQ(row.expected.warnings > 0, got.warnings > 0);
        EXPECT_EQ(row.expected.eofWarnings, got.eofWarnings);
        KY_FClose(file);
    }
}

TEST_F(JpegSourceTest, SkipRefillsAsOftenAsNeeded) {
    const std::string data = RandomBytes(10000, 6);
    WriteAll(PathOf("bytes"), data);
    KY_File* file = KY_FOpen(Spec("bytes"), "rb");
    ASSERT_NE(nullptr, file);
    jpeg_decompress_struct d;
    jpeg_error_mgr err;
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    // Another manager's record is too small for ours: it is replaced, not reused.
    static const unsigned char kNothing[1] = {0};
    jpeg_mem_src(&d, kNothing, sizeof kNothing);
    jpeg_source_mgr* other = d.src;
    KY_JpegStreamSrc(&d, file);
    EXPECT_NE(other, d.src);
    jpeg_source_mgr* src = d.src;
    KY_JpegStreamSrc(&d, file);
    EXPECT_EQ(src, d.src) << "reused";
    src->init_source(&d);
    src->skip_input_data(&d, 9000);
    ASSERT_GT(src->bytes_in_buffer, 0u);
    EXPECT_EQ(static_cast<unsigned char>(data[9000]), *src->next_input_byte);
    EXPECT_EQ(1000u, src->bytes_in_buffer);
    jpeg_destroy_decompress(&d);
    KY_FClose(file);
}

}  // namespace
