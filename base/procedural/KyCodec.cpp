// The compression front end: routine tables by mode and I/O kind, and the
// one-shot and chunked drivers of an expansion.
#include "base/procedural/KyCodec.h"

#include "base/procedural/KyFile.h"

#include <climits>
#include <cstdio>
#include <cstring>

char KY_ErrorDetail[80];

void KY_SetErrorDetail(const char* text) {
    std::snprintf(KY_ErrorDetail, sizeof KY_ErrorDetail, "%s", text ? text : "");
}

void KY_CodecFail(KY_Codec* codec, int code, const char* detail) {
    if (codec->failure)
        return;
    codec->failure = code;
    KY_SetErrorDetail(detail);
}

int32_t KY_CodecEndValue(const KY_Codec* codec) {
    if (codec->mode == 1)
        return 256;
    if (codec->mode == 3)
        return 0;
    return -1;
}

int KY_CodecNoOp(KY_Codec*) {
    return 0;
}

void KY_CodecSetMode(KY_Codec* codec, int mode) {
    codec->mode = static_cast<int8_t>(mode);
}

bool KY_CodecSelect(KY_Codec* codec, int direction) {
    bool compress = direction == 1;
    switch (codec->mode) {
        case 1:
            codec->init = compress ? KY_LzwCompressInit : KY_LzwExpandInit;
            codec->run = compress ? KY_LzwCompress : KY_LzwExpand;
            codec->end = KY_LzwTerm;
            return true;
        case 2:
        case 4:
            codec->init = compress ? KY_ArithCompressInit : KY_ArithExpandInit;
            codec->run = compress ? KY_ArithCompress : KY_ArithExpand;
            codec->end = KY_ArithTerm;
            return true;
        case 3:
            codec->init = compress ? KY_LzssCompressInit : KY_LzssExpandInit;
            codec->run = compress ? KY_LzssCompress : KY_LzssExpand;
            codec->end = KY_LzssTerm;
            return true;
        case 5:
            codec->init = compress ? KY_CodecNoOp : KY_PngRowsInit;
            codec->run = compress ? KY_CodecNoOp : KY_PngRowsRun;
            codec->end = KY_PngRowsTerm;
            return true;
        default:
            return false;
    }
}

bool KY_CodecIsIdle(const KY_Codec* codec) {
    return !codec->lzss && !codec->lzw && !codec->arith && !codec->png && !codec->ioKind;
}

namespace {

void InstallFileRoutines(KY_Codec* codec, int ioKind) {
    bool toFile = ioKind == kIoFileToFile;
    codec->outputBit = toFile ? KY_FileOutputBit : KY_MemOutputBit;
    codec->outputBits = toFile ? KY_FileOutputBits : KY_MemOutputBits;
    codec->inputBit = KY_FileInputBit;
    codec->inputBits = KY_FileInputBits;
    codec->ratioCheck = toFile ? KY_RatioCheckFiles : KY_RatioCheckFileToMem;
    codec->inputByte = KY_FileInputByte;
    codec->outputByte = toFile ? KY_FileOutputByte : KY_MemOutputByte;
}

void InstallMemRoutines(KY_Codec* codec) {
    codec->outputBit = KY_MemOutputBit;
    codec->outputBits = KY_MemOutputBits;
    codec->inputBit = KY_MemInputBit;
    codec->inputBits = KY_MemInputBits;
    codec->ratioCheck = KY_RatioCheckMem;
    codec->inputByte = KY_MemInputByte;
    codec->outputByte = KY_MemOutputByte;
}

void ReleaseStates(KY_Codec* codec) {
    if (codec->lzw)
        KY_LzwTerm(codec);
    if (codec->lzss)
        KY_LzssTerm(codec);
    if (codec->arith)
        KY_ArithTerm(codec);
    if (codec->png)
        KY_PngRowsTerm(codec);
}

// Clears everything but the mode, which the owner set for its expansions.
void ClearKeepingMode(KY_Codec* codec) {
    int8_t mode = codec->mode;
    std::memset(codec, 0, sizeof *codec);
    codec->mode = mode;
}

// The routine calls that may raise (PNG library errors): the codec is left
// idle before the error goes on to the caller.
int CallGuarded(KY_Codec* codec, int (*routine)(KY_Codec*)) {
    try {
        return routine(codec);
    } catch (...) {
        KY_CodecAbandon(codec);
        throw;
    }
}

int StartCommon(KY_Codec* codec, int ioKind, int32_t limit, int32_t limitOffset, int direction = 2) {
    if (!KY_CodecIsIdle(codec))
        KY_CodecAbandon(codec);
    ClearKeepingMode(codec);
    codec->ioKind = ioKind;
    codec->outputLimit = limit;
    codec->limitOffset = limitOffset;
    if (ioKind == kIoMemToMem)
        InstallMemRoutines(codec);
    else
        InstallFileRoutines(codec, ioKind);
    bool hasCoder = direction == 1 ? codec->mode >= 1 && codec->mode <= 4 : true;
    if (!hasCoder || !KY_CodecSelect(codec, direction)) {
        KY_SetErrorDetail("unknown compression mode");
        ClearKeepingMode(codec);
        return kCodecBadMode;
    }
    return 0;
}

// One chunk: run the coder into the output buffer already in place and
// settle the result. start: a completed expansion clears the whole codec.
int DriveChunk(KY_Codec* codec, int32_t* outLength, bool start) {
    codec->outputFull = 0;
    int stopped = CallGuarded(codec, codec->run);
    uint32_t placed = codec->output.position;
    if (codec->failure) {
        int code = codec->failure;
        KY_CodecAbandon(codec);
        return code;
    }
    codec->output.count += static_cast<int32_t>(placed);
    if (stopped) {
        if (placed == 0) {
            KY_SetErrorDetail("output buffer too small for one unit");
            KY_CodecAbandon(codec);
            return kCodecNoProgress;
        }
        return kCodecMore;
    }
    *outLength = static_cast<int32_t>(placed);
    codec->end(codec);
    KY_CodecAbandon(codec);
    if (start)
        std::memset(codec, 0, sizeof *codec);
    return kCodecDone;
}

int NextCommon(KY_Codec* codec, int ioKind, uint8_t* outBuffer, int32_t* outLength) {
    if (codec->ioKind != ioKind || KY_CodecIsIdle(codec))
        return kCodecWrongKind;
    int32_t total = codec->output.count;
    KY_BitMemOpen(&codec->output, outBuffer, *outLength);
    codec->output.count = total;
    return DriveChunk(codec, outLength, false);
}

// Runs the coder's init, then the first chunk; a failure leaves the codec idle.
int InitAndDrive(KY_Codec* codec, int code, int32_t* outLength) {
    if (!code)
        code = CallGuarded(codec, codec->init);
    if (code) {
        KY_CodecAbandon(codec);
        return code;
    }
    return DriveChunk(codec, outLength, true);
}

}  // namespace

void KY_CodecAbandon(KY_Codec* codec) {
    ReleaseStates(codec);
    if (codec->ioKind == kIoFileToFile || codec->ioKind == kIoFileToMem)
        KY_BitInClose(codec);
    // A failed one-shot expansion leaves its output file as far as it got.
    if (codec->ioKind == kIoFileToFile && codec->output.data && !codec->output.borrowed)
        KY_FClose(static_cast<KY_File*>(codec->output.data));
    ClearKeepingMode(codec);
}

int KY_CodecExpand(KY_Codec* codec, KY_File* inFile, KY_OpenSpec* inSpec, int32_t inLength, KY_File* outFile,
                   KY_OpenSpec* outSpec, int32_t* outLength, int32_t limit, int32_t limitOffset) {
    int code = StartCommon(codec, kIoFileToFile, limit, limitOffset);
    if (!code)
        code = KY_BitInOpen(codec, inFile, inSpec, inLength);
    if (!code)
        code = KY_BitOutOpen(codec, outFile, outSpec, *outLength);
    if (!code)
        code = CallGuarded(codec, codec->init);
    if (code) {
        KY_CodecAbandon(codec);
        return code;
    }
    CallGuarded(codec, codec->run);
    *outLength = codec->output.count;
    if (codec->failure) {
        code = codec->failure;
        KY_CodecAbandon(codec);
        return code;
    }
    codec->end(codec);
    KY_BitInClose(codec);
    code = KY_BitOutClose(codec);
    std::memset(codec, 0, sizeof *codec);
    return code ? code : kCodecDone;
}

int KY_CodecExpandToMemStart(KY_Codec* codec, KY_File* inFile, KY_OpenSpec* inSpec, int32_t inLength,
                             uint8_t* outBuffer, int32_t* outLength, int32_t limit, int32_t limitOffset) {
    int code = StartCommon(codec, kIoFileToMem, limit, limitOffset);
    if (!code)
        code = KY_BitInOpen(codec, inFile, inSpec, inLength);
    if (!code)
        KY_BitMemOpen(&codec->output, outBuffer, *outLength);
    return InitAndDrive(codec, code, outLength);
}

int KY_CodecExpandToMemNext(KY_Codec* codec, uint8_t* outBuffer, int32_t* outLength) {
    return NextCommon(codec, kIoFileToMem, outBuffer, outLength);
}

int KY_CodecExpandMemStart(KY_Codec* codec, const uint8_t* inBuffer, int32_t inLength, uint8_t* outBuffer,
                           int32_t* outLength, int32_t limit, int32_t limitOffset) {
    int code = StartCommon(codec, kIoMemToMem, limit, limitOffset);
    if (!code) {
        KY_BitMemOpen(&codec->input, inBuffer, inLength);
        KY_BitMemOpen(&codec->output, outBuffer, *outLength);
    }
    return InitAndDrive(codec, code, outLength);
}

int KY_CodecExpandMemNext(KY_Codec* codec, uint8_t* outBuffer, int32_t* outLength) {
    return NextCommon(codec, kIoMemToMem, outBuffer, outLength);
}

int KY_CodecCompressMem(KY_Codec* codec, const uint8_t* inBuffer, int32_t inLength, uint8_t* outBuffer,
                        int32_t* outLength) {
    int code = StartCommon(codec, kIoMemToMem, INT32_MAX, 0, 1);
    if (code)
        return code;
    KY_BitMemOpen(&codec->input, inBuffer, inLength);
    KY_BitMemOpen(&codec->output, outBuffer, *outLength);
    code = codec->init(codec);
    if (!code) {
        int stopped = codec->run(codec);
        code = codec->failure ? codec->failure : (stopped || codec->outputFull) ? kCodecMore : 0;
    }
    if (!code)
        *outLength = static_cast<int32_t>(codec->output.position + (codec->output.mask != 0x80 ? 1 : 0));
    KY_CodecAbandon(codec);
    return code ? code : kCodecDone;
}

int32_t KY_CodecCompressBound(int32_t inLength) {
    int64_t bound = int64_t(inLength) * 9 + 64;
    return bound > INT32_MAX ? INT32_MAX : static_cast<int32_t>(bound);
}
