// The LZSS coder of mode 3: a 2048-byte window, matches of 2 to 9 bytes.
//
// Stream, bits most significant first, one item after another:
//   1 bbbbbbbb                 literal byte
//   0 ppppppppppp lll          copy 2+lll bytes from window position p (1..2047)
//   0 00000000000              end of stream (position 0 is never a match)
// The window starts zero-filled; the first byte coded goes to position 1.
#include "base/procedural/KyCodec.h"

#include "base/procedural/BAlloc.h"

namespace {

const int kIndexBits = 11;
const int kLengthBits = 3;
const int kWindowSize = 1 << kIndexBits;
const int kBreakEven = 1;
const int kLookAhead = (1 << kLengthBits) + kBreakEven;
const int kTreeRoot = kWindowSize;
const int kUnused = 0;
const int kEndOfStream = 0;

inline int Wrap(int p) {
    return p & (kWindowSize - 1);
}

struct Node {
    int32_t parent, smaller, larger;
};

struct LzssState {
    Node* tree;       // owned, kWindowSize + 1 nodes
    uint8_t* window;  // owned, kWindowSize bytes
    int32_t lookAhead;
    int32_t position;
    int32_t matchLength;
    int32_t matchPosition;
    int32_t expanderResume;  // 1 a literal's output, 2 a copy's
    int32_t copyIndex;
    int32_t currentByte;
};

LzssState* StateOf(KY_Codec* codec) {
    return static_cast<LzssState*>(codec->lzss);
}

int Allocate(KY_Codec* codec) {
    LzssState* s = static_cast<LzssState*>(KY_Calloc(1, sizeof(LzssState)));
    if (!s)
        return kCodecNoMemory;
    codec->lzss = s;
    s->window = static_cast<uint8_t*>(KY_Calloc(kWindowSize, 1));
    s->tree = static_cast<Node*>(KY_Calloc(kWindowSize + 1, sizeof(Node)));
    if (!s->window || !s->tree)
        return kCodecNoMemory;
    s->position = 1;
    return 0;
}

void ContractNode(Node* tree, int oldNode, int newNode) {
    int parent = tree[oldNode].parent;
    tree[newNode].parent = parent;
    if (tree[parent].larger == oldNode)
        tree[parent].larger = newNode;
    else
        tree[parent].smaller = newNode;
    tree[oldNode].parent = kUnused;
}

void ReplaceNode(Node* tree, int oldNode, int newNode) {
    int parent = tree[oldNode].parent;
    if (tree[parent].smaller == oldNode)
        tree[parent].smaller = newNode;
    else
        tree[parent].larger = newNode;
    tree[newNode] = tree[oldNode];
    tree[tree[newNode].smaller].parent = newNode;
    tree[tree[newNode].larger].parent = newNode;
    tree[oldNode].parent = kUnused;
}

void DeleteString(Node* tree, int p) {
    // Node 0 is never in the tree, but the splices above write its parent as
    // a scratch slot: deleting it would cut a live subtree.
    if (p == kUnused || tree[p].parent == kUnused)
        return;
    if (tree[p].larger == kUnused) {
        ContractNode(tree, p, tree[p].smaller);
    } else if (tree[p].smaller == kUnused) {
        ContractNode(tree, p, tree[p].larger);
    } else {
        int replacement = tree[p].smaller;
        while (tree[replacement].larger != kUnused)
            replacement = tree[replacement].larger;
        DeleteString(tree, replacement);
        ReplaceNode(tree, p, replacement);
    }
}

int AddString(LzssState* s, int newNode) {
    if (newNode == kEndOfStream)
        return 0;
    Node* tree = s->tree;
    const uint8_t* w = s->window;
    int testNode = tree[kTreeRoot].larger;
    int matchLength = 0;
    for (;;) {
        int i = 0;
        int delta = 0;
        for (; i < kLookAhead; ++i) {
            delta = w[Wrap(newNode + i)] - w[Wrap(testNode + i)];
            if (delta != 0)
                break;
        }
        if (i >= matchLength) {
            matchLength = i;
            s->matchPosition = testNode;
            if (matchLength >= kLookAhead) {
                ReplaceNode(tree, testNode, newNode);
                return matchLength;
            }
        }
        int32_t* child = delta >= 0 ? &tree[testNode].larger : &tree[testNode].smaller;
        if (*child == kUnused) {
            *child = newNode;
            tree[newNode].parent = testNode;
            tree[newNode].larger = kUnused;
            tree[newNode].smaller = kUnused;
            return matchLength;
        }
        testNode = *child;
    }
}

// Delivers one byte and keeps it in the window; false when the buffer is full.
bool Deliver(KY_Codec* codec, LzssState* s, int byte) {
    codec->outputByte(codec, byte, &codec->output);
    if (codec->outputFull)
        return false;
    s->window[s->position] = static_cast<uint8_t>(byte);
    s->position = Wrap(s->position + 1);
    return true;
}

}  // namespace

int KY_LzssCompressInit(KY_Codec* codec) {
    int code = Allocate(codec);
    if (code)
        return code;
    LzssState* s = StateOf(codec);
    int i = 0;
    for (; i < kLookAhead; ++i) {
        int c = codec->inputByte(codec, &codec->input);
        if (c < 0)
            break;
        s->window[s->position + i] = static_cast<uint8_t>(c);
    }
    s->lookAhead = i;
    s->tree[kTreeRoot].larger = s->position;
    s->tree[s->position].parent = kTreeRoot;
    s->tree[s->position].larger = kUnused;
    s->tree[s->position].smaller = kUnused;
    s->matchLength = 0;
    s->matchPosition = 0;
    return 0;
}

int KY_LzssExpandInit(KY_Codec* codec) {
    return Allocate(codec);
}

int KY_LzssCompress(KY_Codec* codec) {
    LzssState* s = StateOf(codec);
    while (s->lookAhead > 0) {
        if (codec->outputFull)
            return -1;
        if (s->matchLength > s->lookAhead)
            s->matchLength = s->lookAhead;
        int replace;
        if (s->matchLength <= kBreakEven) {
            replace = 1;
            codec->outputBit(codec, 1);
            codec->outputBits(codec, s->window[s->position], 8);
        } else {
            codec->outputBit(codec, 0);
            codec->outputBits(codec, static_cast<uint32_t>(s->matchPosition), kIndexBits);
            codec->outputBits(codec, static_cast<uint32_t>(s->matchLength - (kBreakEven + 1)), kLengthBits);
            replace = s->matchLength;
        }
        for (int i = 0; i < replace; ++i) {
            int incoming = Wrap(s->position + kLookAhead);
            DeleteString(s->tree, incoming);
            int c = codec->inputByte(codec, &codec->input);
            if (c < 0)
                --s->lookAhead;
            else
                s->window[incoming] = static_cast<uint8_t>(c);
            s->position = Wrap(s->position + 1);
            if (s->lookAhead)
                s->matchLength = AddString(s, s->position);
        }
    }
    codec->outputBit(codec, 0);
    codec->outputBits(codec, kEndOfStream, kIndexBits);
    return codec->outputFull ? -1 : 0;
}

int KY_LzssExpand(KY_Codec* codec) {
    LzssState* s = StateOf(codec);
    codec->outputFull = 0;
    if (s->expanderResume == 1) {
        s->expanderResume = 0;
        if (!Deliver(codec, s, s->currentByte)) {
            s->expanderResume = 1;
            return -1;
        }
    }
    for (;;) {
        if (s->expanderResume == 2) {
            s->expanderResume = 0;
        } else {
            int flag = codec->inputBit(codec);
            if (codec->failure)
                return -1;
            if (flag) {
                s->currentByte = codec->inputBits(codec, 8) & 0xFF;
                if (codec->failure)
                    return -1;
                if (!Deliver(codec, s, s->currentByte)) {
                    s->expanderResume = 1;
                    return -1;
                }
                continue;
            }
            s->matchPosition = codec->inputBits(codec, kIndexBits);
            if (codec->failure)
                return -1;
            if (s->matchPosition == kEndOfStream)
                return 0;
            s->matchLength = codec->inputBits(codec, kLengthBits) + kBreakEven;
            if (codec->failure)
                return -1;
            s->copyIndex = 0;
        }
        for (; s->copyIndex <= s->matchLength; ++s->copyIndex) {
            s->currentByte = s->window[Wrap(s->matchPosition + s->copyIndex)];
            if (!Deliver(codec, s, s->currentByte)) {
                s->expanderResume = 2;
                return -1;
            }
        }
    }
}

int KY_LzssTerm(KY_Codec* codec) {
    LzssState* s = StateOf(codec);
    if (s) {
        KY_Free(s->window);
        KY_Free(s->tree);
        KY_Free(s);
    }
    codec->lzss = nullptr;
    return 0;
}
