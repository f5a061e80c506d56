// The JPEG source manager over the file layer.
#include "base/procedural/KyJpeg.h"

#include "base/procedural/KyFile.h"

#include <jerror.h>

namespace {

const size_t kBufferSize = 4096;

struct KySource {
    jpeg_source_mgr pub;
    KY_File* file;   // not owned
    JOCTET* buffer;  // from the permanent pool
    long remaining;  // bytes left to read; -1: up to the end of the file
    boolean startOfFile;
};

void InitSource(j_decompress_ptr cinfo) {
    reinterpret_cast<KySource*>(cinfo->src)->startOfFile = TRUE;
}

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    KySource* src = reinterpret_cast<KySource*>(cinfo->src);
    long want = static_cast<long>(kBufferSize);
    if (src->remaining >= 0 && src->remaining < want)
        want = src->remaining;
    long got = want > 0 ? KY_FRead(src->file, src->buffer, want) : 0;
    if (got > 0 && src->remaining >= 0)
        src->remaining -= got;
    if (got <= 0) {
        if (src->startOfFile)
            ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        src->buffer[0] = 0xFF;
        src->buffer[1] = JPEG_EOI;
        got = 2;
    }
    src->pub.next_input_byte = src->buffer;
    src->pub.bytes_in_buffer = static_cast<size_t>(got);
    src->startOfFile = FALSE;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    if (count <= 0)
        return;
    jpeg_source_mgr* src = cinfo->src;
    while (static_cast<size_t>(count) > src->bytes_in_buffer) {
        count -= static_cast<long>(src->bytes_in_buffer);
        src->fill_input_buffer(cinfo);
    }
    src->next_input_byte += count;
    src->bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

}  // namespace

void KY_JpegStreamSrc(j_decompress_ptr cinfo, KY_File* file) {
    KY_JpegStreamSrcRange(cinfo, file, -1);
}

void KY_JpegStreamSrcRange(j_decompress_ptr cinfo, KY_File* file, long length) {
    // Another manager's record is smaller than ours: only our own is reused.
    if (!cinfo->src || cinfo->src->init_source != InitSource) {
        j_common_ptr common = reinterpret_cast<j_common_ptr>(cinfo);
        KySource* src = static_cast<KySource*>(cinfo->mem->alloc_small(common, JPOOL_PERMANENT, sizeof(KySource)));
        src->buffer = static_cast<JOCTET*>(cinfo->mem->alloc_small(common, JPOOL_PERMANENT, kBufferSize));
        cinfo->src = &src->pub;
    }
    KySource* src = reinterpret_cast<KySource*>(cinfo->src);
    src->pub.init_source = InitSource;
    src->pub.fill_input_buffer = FillInputBuffer;
    src->pub.skip_input_data = SkipInputData;
    src->pub.resync_to_restart = jpeg_resync_to_restart;
    src->pub.term_source = TermSource;
    src->file = file;
    src->remaining = length;
    src->pub.bytes_in_buffer = 0;
    src->pub.next_input_byte = nullptr;
}
