// The compression front end: one expansion (or compression) at a time per
// KY_Codec, its bit and byte streams, and the entry points of the coders.
//
// Modes: 1 LZW with 9..15-bit codes, 2 and 4 adaptive arithmetic (the same
// coder), 3 LZSS, 5 PNG rows. The mode belongs to the table that holds the
// records; the caller sets it before every start operation.
//
// Errors are integer codes (below); a code of 110 or 1154 names its cause in
// KY_ErrorDetail. Bad compressed data never ends the process: the coder stops
// and the front end answers kCodecCorrupt. Only a PNG library error raises
// (AImageLibError); the codec is then left idle, its state released.
#pragma once

#include <cstdint>

struct KY_File;
struct KY_OpenSpec;

const int kCodecDone = 1151;       // the expansion is complete
const int kCodecWrongKind = 1152;  // a Next call on a codec of another I/O kind (or idle)
const int kCodecMore = 1153;       // the output buffer is full and more output follows
// The compressed input is truncated or corrupt (a bit past its end, an
// unknown code, an escape below the last context...).
const int kCodecCorrupt = 1154;
// A chunked call could place nothing: the buffer is too small for one unit
// (a PNG row). The expansion is abandoned rather than spun on.
const int kCodecNoProgress = 1155;
const int kCodecBadMode = 1156;  // mode outside 1..5 (or 5 for compression)
const int kCodecNoMemory = 110;  // a coder's allocation failed; step in KY_ErrorDetail
// One-shot expansion: a byte, the last partial byte or the flush of the output file failed.
const int kCodecFlushFailed = 107;

const int kIoFileToFile = 1;
const int kIoFileToMem = 2;
const int kIoMemToMem = 4;

// Bits go most significant first: the first bit of a stream is bit 7 of its first byte.
struct KY_BitFile {
    void* data;         // the KY_File (file family, not owned when borrowed) or the buffer (not owned)
    uint32_t position;  // bytes consumed or produced
    uint32_t length;    // bytes of the stream (the stream's last index + 1)
    int32_t count;      // the codec's output stream: output total of the expansion
    int32_t rack;       // file family: the byte being read or assembled
    uint8_t mask;       // next bit of the current byte: 0x80 first
    uint8_t borrowed;   // 1: the caller's open file, left open at close
};

struct KY_Codec {
    KY_BitFile input;
    KY_BitFile output;
    int (*init)(KY_Codec*);
    int (*end)(KY_Codec*);
    void (*outputBit)(KY_Codec*, int bit);
    void (*outputBits)(KY_Codec*, uint32_t value, int count);
    int (*inputBit)(KY_Codec*);
    int32_t (*inputBits)(KY_Codec*, int count);
    int (*ratioCheck)(KY_Codec*);
    // 0: finished; non-zero: stopped on a full output buffer. A failure sets `failure`.
    int (*run)(KY_Codec*);
    int (*inputByte)(KY_Codec*, KY_BitFile*);
    int (*outputByte)(KY_Codec*, int byte, KY_BitFile*);
    int32_t ioKind;
    int8_t mode;
    int32_t outputFull;   // set by the memory output routines when a byte finds no room
    int32_t outputLimit;  // output total + limitOffset never passes this
    int32_t limitOffset;
    int32_t failure;  // first failure of a run (110, 1154...), 0 while sound
    void* png;        // owned coder states, null when idle
    void* lzss;
    void* lzw;
    void* arith;
};

// The name of the failing step of the last 110 or 1154.
extern char KY_ErrorDetail[80];
void KY_SetErrorDetail(const char* text);

// ---- Front end -------------------------------------------------------------

void KY_CodecSetMode(KY_Codec* codec, int mode);
// Installs the mode's init, run and end routines (direction 1 compresses);
// false for a mode without routines.
bool KY_CodecSelect(KY_Codec* codec, int direction);
// True when no expansion is under way (no coder state).
bool KY_CodecIsIdle(const KY_Codec* codec);
// Ends whatever the codec is doing, releases its state and streams, clears it.
void KY_CodecAbandon(KY_Codec* codec);

// The file kinds read at most inLength bytes of the input file (PNG streams too).
// One-shot expansion from a file into a file (spec null: the caller's open file
// at its current position, left open). *outLength out: bytes written.
int KY_CodecExpand(KY_Codec* codec, KY_File* inFile, KY_OpenSpec* inSpec, int32_t inLength, KY_File* outFile,
                   KY_OpenSpec* outSpec, int32_t* outLength, int32_t limit, int32_t limitOffset);
// Chunked expansion into the caller's buffers. *outLength in: the buffer's
// size; out on 1151: the bytes placed (on 1153 the buffer is full).
int KY_CodecExpandToMemStart(KY_Codec* codec, KY_File* inFile, KY_OpenSpec* inSpec, int32_t inLength,
                             uint8_t* outBuffer, int32_t* outLength, int32_t limit, int32_t limitOffset);
int KY_CodecExpandToMemNext(KY_Codec* codec, uint8_t* outBuffer, int32_t* outLength);
int KY_CodecExpandMemStart(KY_Codec* codec, const uint8_t* inBuffer, int32_t inLength, uint8_t* outBuffer,
                           int32_t* outLength, int32_t limit, int32_t limitOffset);
int KY_CodecExpandMemNext(KY_Codec* codec, uint8_t* outBuffer, int32_t* outLength);

// Compresses a buffer with the codec's mode (1..4) into the caller's buffer,
// for the tools that build compressed records. 1151 with *outLength the bytes
// produced; 1153 when the output did not fit (nothing usable, codec idle).
int KY_CodecCompressMem(KY_Codec* codec, const uint8_t* inBuffer, int32_t inLength, uint8_t* outBuffer,
                        int32_t* outLength);
// An output size that always holds the compressed form of inLength bytes.
int32_t KY_CodecCompressBound(int32_t inLength);

int KY_CodecNoOp(KY_Codec* codec);

// ---- Bit and byte streams --------------------------------------------------

// File streams open the request ("rb" / "wb") or borrow the open file (spec null).
// Answer 0 or the file layer's code.
int KY_BitInOpen(KY_Codec* codec, KY_File* file, KY_OpenSpec* spec, int32_t length);
int KY_BitOutOpen(KY_Codec* codec, KY_File* file, KY_OpenSpec* spec, int32_t length);
void KY_BitInClose(KY_Codec* codec);
// Writes a pending partial byte, flushes, closes unless borrowed; 0 or 107
// when any of the three fails.
int KY_BitOutClose(KY_Codec* codec);
void KY_BitMemOpen(KY_BitFile* stream, const uint8_t* buffer, int32_t length);
void KY_BitMemClose(KY_BitFile* stream);

int KY_FileInputByte(KY_Codec* codec, KY_BitFile* stream);
int KY_FileInputBit(KY_Codec* codec);
int32_t KY_FileInputBits(KY_Codec* codec, int count);
int KY_FileOutputByte(KY_Codec* codec, int byte, KY_BitFile* stream);
void KY_FileOutputBit(KY_Codec* codec, int bit);
void KY_FileOutputBits(KY_Codec* codec, uint32_t value, int count);

int KY_MemInputByte(KY_Codec* codec, KY_BitFile* stream);
int KY_MemInputBit(KY_Codec* codec);
int32_t KY_MemInputBits(KY_Codec* codec, int count);
int KY_MemOutputByte(KY_Codec* codec, int byte, KY_BitFile* stream);
void KY_MemOutputBit(KY_Codec* codec, int bit);
void KY_MemOutputBits(KY_Codec* codec, uint32_t value, int count);

// True when the output grew by more than 90 % of the input's growth since the last check.
int KY_RatioCheckFiles(KY_Codec* codec);
int KY_RatioCheckFileToMem(KY_Codec* codec);
int KY_RatioCheckMem(KY_Codec* codec);

// The value the whole-code reads answer once the input is used up: 256 in
// mode 1, 0 in mode 3, -1 otherwise.
int32_t KY_CodecEndValue(const KY_Codec* codec);
// Records the first failure of a run with its detail text.
void KY_CodecFail(KY_Codec* codec, int code, const char* detail);

// ---- Coders (init and run answer as the codec's routines) ------------------

int KY_ArithCompressInit(KY_Codec* codec);
int KY_ArithExpandInit(KY_Codec* codec);
int KY_ArithCompress(KY_Codec* codec);
int KY_ArithExpand(KY_Codec* codec);
int KY_ArithTerm(KY_Codec* codec);

int KY_LzssCompressInit(KY_Codec* codec);
int KY_LzssExpandInit(KY_Codec* codec);
int KY_LzssCompress(KY_Codec* codec);
int KY_LzssExpand(KY_Codec* codec);
int KY_LzssTerm(KY_Codec* codec);

int KY_LzwCompressInit(KY_Codec* codec);
int KY_LzwExpandInit(KY_Codec* codec);
int KY_LzwCompress(KY_Codec* codec);
int KY_LzwExpand(KY_Codec* codec);
int KY_LzwTerm(KY_Codec* codec);

// Mode 5: the PNG stream's rows as stored, each padded with zeros to a
// multiple of 4 bytes, top row first. Library errors raise AImageLibError
// ("libpng error: %s\n" in the message) from pngstub.
int KY_PngRowsInit(KY_Codec* codec);
int KY_PngRowsRun(KY_Codec* codec);
int KY_PngRowsTerm(KY_Codec* codec);
