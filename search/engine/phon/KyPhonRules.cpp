// The phonetic matcher's tables: folding, letter classes, word-start prefixes,
// context patterns, segmentation rules and phoneme rules.
//
// This file is UTF-8 and compiled with -fexec-charset=CP1252, so every literal
// below holds the Windows-1252 bytes that the matcher sees.
#include <cstring>

#include "search/engine/phon/KyPhon.h"

namespace {

// --- Letter classes ---

const char kVowels[] = "aeiouyàáâãäåæèéêëìíîïðòóôõöùúûüýÿþø@";
const char kConsonants[] = "bcçdfghjklmnpqrstvwxzßñZ£SN";
const char kLikeA[] = "aàáâãäåæ";
const char kLikeE[] = "eèéêë";
const char kLikeI[] = "iìíîï";
const char kLikeO[] = "oðòóôõö";
const char kLikeU[] = "uùúûü";

bool InSet(const char* set, char c) {
    return c != 0 && std::strchr(set, c) != nullptr;
}

// The class that a pattern letter names, or null when it stands for itself.
const char* ClassOf(char letter, bool allClasses) {
    switch (letter) {
        case 'V':
            return kVowels;
        case 'C':
            return kConsonants;
        case 'A':
            return allClasses ? kLikeA : nullptr;
        case 'E':
            return allClasses ? kLikeE : nullptr;
        case 'I':
            return allClasses ? kLikeI : nullptr;
        case 'O':
            return allClasses ? kLikeO : nullptr;
        case 'U':
            return allClasses ? kLikeU : nullptr;
        default:
            return nullptr;
    }
}

bool IsWordEnd(char c) {
    return c == '$' || c == '-' || c == ' ';
}

// One pattern byte against one text byte; the text byte is never zero here.
bool MatchByte(char pattern, char c, bool allClasses) {
    if (pattern == '$')
        return IsWordEnd(c);
    if (const char* set = ClassOf(pattern, allClasses))
        return InSet(set, c);
    return pattern == c;
}

// A right pattern forward from the start of text; fails when text ends first.
size_t MatchRight(const char* pattern, const char* text, bool allClasses) {
    size_t n = 0;
    for (; pattern[n]; ++n) {
        if (!text[n] || !MatchByte(pattern[n], text[n], allClasses))
            return 0;
    }
    return n;
}

// A left pattern from its last byte backwards against the end of left.
bool MatchLeft(const char* pattern, const char* left, size_t length) {
    size_t li = length;
    for (size_t pi = std::strlen(pattern); pi > 0; --pi) {
        char p = pattern[pi - 1];
        if (p == '^') {
            if (li == 0 || left[li - 1] == '-' || left[li - 1] == ' ')
                continue;
            return KY_PhonPrefixLength(left, li) == static_cast<int>(li);
        }
        if (li == 0 || !MatchByte(p, left[li - 1], true))
            return false;
        --li;
    }
    return true;
}

// Rule indexes of a table grouped by the first byte of their key, in table
// order, built on first use.
template <size_t N>
struct GroupIndex {
    uint16_t start[257];
    uint16_t rules[N];

    template <typename Rule, typename KeyOf>
    void build(const Rule* table, KeyOf keyOf) {
        uint16_t counts[256] = {};
        for (size_t i = 0; i < N; ++i)
            ++counts[static_cast<unsigned char>(keyOf(table[i])[0])];
        start[0] = 0;
        for (int b = 0; b < 256; ++b)
            start[b + 1] = static_cast<uint16_t>(start[b] + counts[b]);
        uint16_t next[256];
        std::memcpy(next, start, sizeof next);
        for (size_t i = 0; i < N; ++i)
            rules[next[static_cast<unsigned char>(keyOf(table[i])[0])]++] = static_cast<uint16_t>(i);
    }
};

// --- Segmentation rules: spelling to spelling ---
//
// left, key, right, replacement. "" as a pattern matches anything; '_' in a
// replacement separates syllables, "SZ" is an s read s or z, "W" a w read w or
// v, "@" the rounded e of "oeil", "ç" a sure s.
struct SegmentRule {
    const char* left;
    const char* key;
    const char* right;
    const char* replacement;
};

const SegmentRule kSegmentRules[] = {
    // Diaeresis and accents that read as plain letters.
    {"", "ël", "", "èl"},
    {"", "ë", "", "é"},
    {"^", "équarr", "", "é_ka_r"},
    {"^", "équa", "", "é_kwa"},
    {"", "ç", "", "s"},
    {"", "â", "", "a"},
    {"", "à", "", "a"},
    // z between consonants, y as vowel or glide, w.
    {"C", "z", "C", "SZ"},
    {"", "ymp", "", "in_p"},
    {"", "ymb", "", "in_b"},
    {"V", "y", "V", "i_y"},
    {"", "y", "C", "i"},
    {"", "y", "$", "i"},
    {"", "wagon", "", "vagon"},
    {"", "w", "", "W"},
    {"", "vosg", "", "voj"},
    {"", "vill", "V", "vil"},
    // u: "-ueil" endings, "cueill-", um before a vowel, English ump/umb.
    {"", "ueil", "$", "eu_ye"},
    {"", "ue", "ill", "@"},
    {"C", "um", "V", "u_m"},
    {"", "ump", "", "@_mp"},
    {"", "umb", "", "on_b"},
    // t: learned words with ch read k, and the t read s.
    {"", "tachycard", "", "taki_kard"},
    {"", "trachée", "", "tra_chée"},
    {"", "traché", "", "tra_ké"},
    {"", "tion", "", "tion"},
    {"", "tiel", "", "siel"},
    {"", "tech", "", "tek"},
    // s: sc and sch, the voiced s between vowels and across words, ss.
    {"", "soixan", "", "soisan"},
    {"", "saoul", "", "soul"},
    {"", "synchro", "", "sin_kro"},
    {"", "schizo", "", "skizo"},
    {"", "schol", "", "skol"},
    {"^", "saiett", "", "sa_yèt"},
    {"", "solenn", "", "solan"},
    {"^", "squ", "a", "skw"},
    {"", "sch", "", "ch"},
    {"", "sc", "U", "sk"},
    {"", "sc", "O", "sk"},
    {"", "sc", "I", "ç"},
    {"", "sc", "E", "s"},
    {"", "sc", "C", "sk"},
    {"", "sc", "A", "sk"},
    {"V", "s", "V", "SZ"},
    {"", "s", "$V", "z"},
    {"", "ss", "", "_s"},
    {"", "sh", "", "sh"},
    {"", "sc", "", "sk"},
    // r: the re- of "ressusciter" against "ressource", rr.
    {"", "reich", "", "rèch"},
    {"^", "ressuy", "", "ré_suy"},
    {"^", "ressay", "", "r@_sèy"},
    {"^", "ress", "", "r@_ç"},
    {"", "rr", "", "r"},
    {"", "quill", "", "ki_y"},
    // p: loan and learned words, pp, ph.
    {"", "parkinson", "", "par_ki_nson"},
    {"", "pénicill", "", "péni_sil"},
    {"", "psycho", "", "psiko"},
    {"", "poël", "", "pwal"},
    {"", "pays", "", "péi"},
    {"", "pp", "", "p"},
    {"", "ph", "", "f"},
    // o: orgueil, silent final consonants, oin, om/on before b and p.
    {"", "orgueill", "", "or_g@y"},
    {"", "orgueil", "", "or_g@y"},
    {"", "oscill", "", "osil"},
    {"^", "orch", "", "ork"},
    {"", "oups", "$", "ou"},
    {"", "oncs", "$", "on"},
    {"", "ombs", "$", "on"},
    {"", "oins", "$", "win"},
    {"", "omph", "", "on_f"},
    {"", "ows", "$", "o"},
    {"", "oup", "$", "ou"},
    {"", "onc", "$", "onk"},
    {"", "omb", "$", "on"},
    {"", "oin", "V", "wa_n"},
    {"", "oin", "C", "win_"},
    {"", "oin", "$", "win"},
    {"", "oim", "$", "win"},
    {"", "omp", "", "on_p"},
    {"", "omb", "", "on_b"},
    {"", "oin", "", "win"},
    {"", "ow", "$", "o"},
    {"", "ou", "", "ou"},
    // n: single n between vowels and nn start a syllable (no nasal).
    {"", "nietzsch", "", "nitch"},
    {"V", "n", "V", "_n"},
    {"", "nn", "", "_n"},
    // m: learned ch, "moelle", "mont-", mill and mm.
    {"", "maniché", "", "mani_ké"},
    {"", "machiav", "", "maki_av"},
    {"", "montr", "", "mon_tr"},
    {"", "moell", "", "mwal"},
    {"", "mont", "C", "mon"},
    {"", "mill", "", "mil"},
    {"", "mm", "", "_m"},
    // l, k, j: loans and doubled letters.
    {"", "linguist", "", "lin_gwist"},
    {"", "long", "", "lon_g"},
    {"", "ll", "", "_l"},
    {"", "kayak", "", "ka_yak"},
    {"", "kk", "", "k"},
    {"", "jj", "", "j"},
    // i: im- and in- before vowels, the ill of "fille", -ient, -ienne.
    {"", "immanqu", "", "in_man_k"},
    {"", "immang", "", "in_man_j"},
    {"C", "ient", "V", "yan_t"},
    {"", "illi", "e$", "yi"},
    {"", "illi", "V", "_y"},
    {"", "illi", "C", "yi"},
    {"", "illi", "$", "yi"},
    {"V", "ill", "V", "y"},
    {"C", "ill", "V", "i_y"},
    {"", "ienn", "", "yèn"},
    {"", "itz", "$", "its"},
    {"", "ies", "$", "i"},
    {"", "ich", "$", "ik"},
    {"", "inh", "", "i_n"},
    {"", "imp", "", "in_p"},
    {"", "imb", "", "in_b"},
    {"", "in", "V", "i_n"},
    {"", "im", "V", "i_m"},
    {"", "im", "$", "in"},
    {"", "ie", "$", "i"},
    // h: silent between vowels and before consonants.
    {"", "himalay", "", "i_ma_lay"},
    {"V", "h", "V", "_"},
    {"", "h", "C", ""},
    // g: gu before front vowels, ge before a and o, soft g.
    {"", "guill", "", "gi_y"},
    {"", "geu", "", "j@"},
    {"", "gu", "î", "g"},
    {"", "gu", "ê", "g"},
    {"", "gu", "é", "g"},
    {"", "gu", "è", "g"},
    {"", "gu", "y", "g"},
    {"", "gu", "i", "g"},
    {"", "gu", "e", "g"},
    {"", "guë", "", "gü"},
    {"", "ge", "O", "j"},
    {"", "ge", "A", "j"},
    {"V", "g", "$", "g"},
    {"", "gh", "", "g"},
    {"", "g", "I", "j"},
    {"", "g", "E", "j"},
    // f: fourmill-, fasc-, the "fai" of "faisons", femme, ff.
    {"", "fourmill", "", "four_mi_y"},
    {"", "fascis", "", "fachis"},
    {"", "fayot", "", "fè_yo"},
    {"", "fais", "V", "f@_z"},
    {"", "femm", "", "fam"},
    {"", "ff", "", "f"},
    // e: en- and em- prefixes, ex-, e before doubled consonants (open e),
    // nasal ein, silent final consonants.
    {"", "empenna", "", "an_pè_na"},
    {"", "ennuag", "", "an_nuag"},
    {"", "ennobl", "", "an_nobl"},
    {"", "ennemi", "", "èn_mi"},
    {"", "enneig", "", "an_nèj"},
    {"", "ennuy", "", "an_nuy"},
    {"", "ennui", "", "an_nui"},
    {"", "eaux", "$", "o"},
    {"^", "ex", "hV", "é_gz"},
    {"", "ews", "$", "you"},
    {"", "ems", "$", "an"},
    {"", "ein", "_", "in"},
    {"", "ein", "V", "è_n"},
    {"", "ein", "C", "in"},
    {"", "ein", "$", "in"},
    {"", "eim", "$", "in"},
    {"", "efs", "$", "é"},
    {"h", "ex", "V", "ègz"},
    {"^", "ex", "V", "ègz"},
    {"^", "en", "V", "an_n"},
    {"^", "en", "C", "an"},
    {"", "e", "ill", "è"},
    {"", "ett", "", "èt"},
    {"", "ess", "", "ès"},
    {"", "err", "", "èr"},
    {"", "enn", "", "èn"},
    {"", "emp", "", "an_p"},
    {"", "emm", "", "emm"},
    {"", "emb", "", "an_b"},
    {"", "ell", "", "èl"},
    {"", "eff", "", "èf"},
    {"", "eau", "", "o"},
    {"", "ey", "V", "è_y"},
    {"", "ew", "$", "you"},
    {"", "em", "C", "an"},
    {"", "em", "$", "èm"},
    {"", "ef", "$", "èf"},
    {"^", "e", "C", "è"},
    {"", "ei", "", "è"},
    // d: learned ch, deuxième, dd, "damner", "doigt".
    {"", "distill", "", "distil"},
    {"", "dicho", "", "diko"},
    {"", "deuxi", "", "d@_zi"},
    {"", "dd", "", "d"},
    {"", "damn", "V", "da_n"},
    {"", "doigt", "", "dwa"},
    // c: silent endings, learned ch read k, soft c before e, i, y.
    {"", "corps", "$", "kor"},
    {"", "cul", "$", "ku"},
    {"", "culs", "$", "ku"},
    {"", "chrétien", "", "kré_tien"},
    {"", "crescendo", "", "kré_chèn_do"},
    {"", "chianti", "", "kian_ti"},
    {"", "charis", "", "karis"},
    {"", "comt", "", "kon_t"},
    {"", "compt", "", "kon_t"},
    {"", "chir", "o", "kir"},
    {"", "c", "euil", "k"},
    {"^", "cae", "", "sé"},
    {"i", "cz", "$", "ch"},
    {"i", "ch", "$", "k"},
    {"", "cqu", "", "k"},
    {"", "chr", "", "kr"},
    {"", "chl", "", "kl"},
    {"", "cch", "", "k"},
    {"", "cs", "$", "k"},
    {"", "cc", "y", "ks"},
    {"", "cc", "I", "ks"},
    {"", "cc", "E", "ks"},
    {"", "cq", "", "k"},
    {"", "ck", "", "k"},
    {"", "ch", "", "ch"},
    {"", "cc", "", "k"},
    {"", "c", "y", "s"},
    {"", "c", "I", "s"},
    {"", "c", "E", "s"},
    {"", "c", "C", "k"},
    // b: silent final g of "bourg", bill, the b kept before s and t.
    {"^", "brettel", "", "br@_tèl"},
    {"", "broncho", "", "bron_ko"},
    {"", "bourgs", "$", "bour"},
    {"", "bonhom", "", "bo_nom"},
    {"^", "brach", "", "brak"},
    {"^", "balsa", "", "bal_za"},
    {"", "bourg", "$", "bour"},
    {"", "bill", "", "bi_y"},
    {"", "bapt", "", "bat"},
    {"^", "bay", "", "ba_y"},
    {"", "bb", "", "b"},
    {"V", "b", "sC", "b"},
    {"V", "b", "sV", "b"},
    {"V", "b", "t", "b"},
    // a: learned words, silent endings, ain and aim before vowels (no
    // nasal), ail, the nasals before b and p.
    {"", "adéquat", "", "adé_kwa"},
    {"", "automn", "", "o_ton"},
    {"", "amygdal", "", "ami_dal"},
    {"^", "abbatia", "", "aba_sia"},
    {"^", "alsac", "V", "al_zas"},
    {"", "alcool", "", "alkol"},
    {"^", "arch", "V", "arch"},
    {"^", "absc", "o", "ab_sk"},
    {"^", "anti", "", "an_ti"},
    {"^", "absc", "", "ab_s"},
    {"", "aons", "$", "an"},
    {"", "ants", "$", "an"},
    {"", "ancs", "$", "an"},
    {"", "ails", "$", "ay"},
    {"", "aill", "e", "a_y"},
    {"^", "aqu", "a", "akw"},
    {"", "atio", "$", "asio"},
    {"", "atia", "", "a_sia"},
    {"", "amph", "", "an_f"},
    {"", "aell", "", "a_èl"},
    {"^", "abs", "", "ab_s"},
    {"^", "abc", "", "ab_s"},
    {"", "aws", "$", "o"},
    {"", "aux", "$", "o"},
    {"", "aon", "$", "an"},
    {"", "ant", "$", "an"},
    {"", "anc", "$", "an"},
    {"", "amp", "$", "an"},
    {"", "ain", "V", "è_n"},
    {"", "aim", "V", "è_m"},
    {"", "aim", "$", "in"},
    {"", "aim", "C", "in"},
    {"", "ail", "$", "ay"},
    {"", "ann", "", "a_n"},
    {"", "anh", "", "a_n"},
    {"", "amp", "", "an_p"},
    {"", "amb", "", "an_b"},
    {"", "ael", "", "a_èl"},
    {"", "aw", "$", "o"},
    {"", "aï", "", "a_i"},
    {"", "aî", "", "è"},
    {"", "au", "", "o_"},
    {"", "asthm", "", "asm"},
};

const size_t kSegmentCount = sizeof kSegmentRules / sizeof kSegmentRules[0];

// --- Phoneme rules: spelling to the phonetic alphabet ---
//
// pattern (its own bytes are the key; '$' is the end of a word), whether the
// rule is final, and its readings in order. An additive rule adds its readings
// and lets the next rule of its group try; a final one ends the search.
const bool kFinal = true;
const bool kAdd = false;
const int kMaxReadings = 6;

struct PhonemeRule {
    const char* pattern;
    bool final;
    const char* readings[kMaxReadings];
};

const PhonemeRule kPhonemeRules[] = {
    // Accented and rare single letters, and the one-letter groups.
    {"ÿ", kFinal, {"i"}},
    {"ý", kFinal, {"i"}},
    {"ü", kFinal, {"y"}},
    {"û", kFinal, {"y"}},
    {"ú", kFinal, {"u"}},
    {"ù", kFinal, {"y"}},
    {"ø", kFinal, {"2"}},
    {"ö", kFinal, {"2"}},
    {"õ", kFinal, {"o"}},
    {"ô", kFinal, {"o"}},
    {"ó", kFinal, {"o"}},
    {"ò", kFinal, {"o"}},
    {"ñ", kFinal, {"nj"}},
    {"ð", kFinal, {"o"}},
    {"ï", kFinal, {"i"}},
    {"î", kFinal, {"i"}},
    {"í", kFinal, {"i"}},
    {"ì", kFinal, {"i"}},
    {"ë", kFinal, {"e"}},
    {"ê", kFinal, {"E"}},
    {"é", kFinal, {"e"}},
    {"è", kFinal, {"E"}},
    {"ç", kFinal, {"s"}},
    {"æ", kFinal, {"ae", "e"}},
    {"å", kFinal, {"a"}},
    {"ä", kFinal, {"a"}},
    {"ã", kFinal, {"a"}},
    {"â", kFinal, {"a"}},
    {"á", kFinal, {"a"}},
    {"à", kFinal, {"a"}},
    {"»", kFinal, {"."}},
    {"°", kFinal, {"."}},
    {"«", kFinal, {"."}},
    {"r", kFinal, {"r"}},
    {"y", kFinal, {"j"}},
    {"k", kFinal, {"k"}},
    {"j", kFinal, {"Z"}},
    {"h", kFinal, {"."}},
    {"f", kFinal, {"f"}},
    {"W", kFinal, {"w", "v"}},
    {"@", kFinal, {"2"}},
    {"/", kFinal, {"."}},
    {"&", kFinal, {"."}},
    // Escape remnants: silent.
    {"~\\u", kFinal, {"."}},
    {"~\\", kFinal, {"."}},
    // z, x, w, v.
    {"zz", kFinal, {"dz", "z"}},
    {"z$", kFinal, {".", "z"}},
    {"z", kFinal, {"z"}},
    {"x$", kFinal, {"ks"}},
    {"xc", kFinal, {"ksk"}},
    {"x", kFinal, {"ks"}},
    {"wright", kFinal, {"rajt"}},
    {"w", kFinal, {"w"}},
    {"vingt", kFinal, {"ve~", "ve~t"}},
    {"vill", kFinal, {"vil"}},
    {"v", kFinal, {"v"}},
    // u: -ment adverbs, -ueil, nasal un and um, final x.
    {"uement$", kFinal, {"yma~"}},
    {"uements$", kFinal, {"yma~"}},
    {"ueil$", kFinal, {"2j"}},
    {"ueils$", kFinal, {"2j"}},
    {"uns$", kFinal, {"e~"}},
    {"ux$", kFinal, {"y"}},
    {"un_", kFinal, {"e~"}},
    {"un$", kFinal, {"e~"}},
    {"um_", kFinal, {"o~"}},
    {"um$", kFinal, {"Om", "e~"}},
    {"ums$", kFinal, {"Om", "e~"}},
    {"uë", kFinal, {"y"}},
    {"un", kFinal, {"e~"}},
    {"um", kFinal, {"e~", "ym"}},
    {"ue", kAdd, {"y", "ye"}},
    {"u", kFinal, {"y"}},
    // t: tion read s or t, silent final t, th.
    {"ttions$", kFinal, {"tjo~"}},
    {"ttion$", kFinal, {"tjo~"}},
    {"tions$", kFinal, {"sjo~", "tjo~"}},
    {"tchov$", kFinal, {"tSOf"}},
    {"tchev$", kFinal, {"tSEf"}},
    {"ttion", kFinal, {"tjo~"}},
    {"tionn", kFinal, {"sjOn"}},
    {"tion$", kFinal, {"sjo~"}},
    {"tion", kAdd, {"tjo~", "sjo~", "tjon", "sjon"}},
    {"ts$", kFinal, {".", "ts"}},
    {"ty", kFinal, {"ti"}},
    {"ti", kAdd, {"ti", "si", "sj"}},
    {"th", kFinal, {"t", "£"}},
    {"trans", kFinal, {"tra~z", "tra~s"}},
    {"t$", kFinal, {"t", "."}},
    {"tz", kFinal, {"ts"}},
    {"t", kFinal, {"t"}},
    // s.
    {"sixiè", kFinal, {"sizjE"}},
    {"sang", kFinal, {"sa~", "sa~g"}},
    {"sh", kFinal, {"S", "z"}},
    {"s$", kFinal, {".", "s"}},
    {"s", kFinal, {"s"}},
    // q.
    {"qui", kAdd, {"ki", "kwi", "kui"}},
    {"qua", kAdd, {"ka", "kwa"}},
    {"qu", kAdd, {"k"}},
    {"q", kFinal, {"k"}},
    // p.
    {"psych", kFinal, {"psik", "psiS"}},
    {"ph", kFinal, {"f"}},
    {"ps$", kFinal, {".", "ps"}},
    {"p$", kFinal, {".", "p"}},
    {"p", kFinal, {"p"}},
    // o: ou and oi, nasal on and om, oeu.
    {"ouement$", kFinal, {"uma~"}},
    {"ouements$", kFinal, {"uma~"}},
    {"orchestr", kFinal, {"OrkEstr"}},
    {"ouils$", kFinal, {"uj"}},
    {"orchid", kFinal, {"Orkid"}},
    {"oeufs$", kFinal, {"2"}},
    {"ound$", kFinal, {"und"}},
    {"ounds$", kFinal, {"und"}},
    {"ouil$", kFinal, {"uj"}},
    {"oeux$", kFinal, {"2"}},
    {"oux$", kFinal, {"u"}},
    {"oum$", kFinal, {"um"}},
    {"oums$", kFinal, {"um"}},
    {"ons$", kFinal, {"o~"}},
    {"oix$", kFinal, {"wa"}},
    {"ov$", kFinal, {"Of"}},
    {"oun", kFinal, {"un"}},
    {"oon", kFinal, {"un"}},
    {"on_", kFinal, {"o~"}},
    {"on$", kFinal, {"o~"}},
    {"om_", kFinal, {"o~"}},
    {"oi$", kFinal, {"wa"}},
    {"ois$", kFinal, {"wa"}},
    {"oeu", kFinal, {"2"}},
    {"oû", kFinal, {"u"}},
    {"où", kFinal, {"u"}},
    {"oî", kFinal, {"wa"}},
    {"oy", kFinal, {"wa", "waj", "oj"}},
    {"ou", kFinal, {"u", "w"}},
    {"oo", kFinal, {"o", "u"}},
    {"on", kFinal, {"o~"}},
    {"om", kFinal, {"Om", "o~"}},
    {"oi", kFinal, {"wa"}},
    {"oe", kFinal, {"oE", "wa"}},
    {"o", kFinal, {"o"}},
    // n, m, l.
    {"nom", kFinal, {"nOm", "no~"}},
    {"neuf", kFinal, {"n2f"}},
    {"n", kFinal, {"n"}},
    {"mill", kFinal, {"mil"}},
    {"m", kFinal, {"m"}},
    {"linguist", kFinal, {"le~gyist"}},
    {"ls$", kFinal, {"l"}},
    {"l$", kFinal, {"l"}},
    {"l", kFinal, {"l"}},
    // i: glides before vowels, verb endings, nasal in and im, English -ing.
    {"illi", kFinal, {"ilj"}},
    {"iaient$", kFinal, {"jE"}},
    {"ients$", kFinal, {"ja~", "i"}},
    {"iants$", kFinal, {"ja~"}},
    {"itch$", kFinal, {"itS"}},
    {"ions$", kFinal, {"jo~", "io~"}},
    {"ings$", kFinal, {"iN"}},
    {"iers$", kFinal, {"je", "jer", "i2r", "ije", "ijer", "ij2r"}},
    {"ient$", kFinal, {"ja~", "je~", "i"}},
    {"iens$", kFinal, {"je~"}},
    {"iaux$", kFinal, {"jo"}},
    {"iant$", kFinal, {"ja~"}},
    {"ians$", kFinal, {"ja~"}},
    {"iait$", kFinal, {"jE"}},
    {"ious", kFinal, {"jus"}},
    {"ion$", kFinal, {"jo~", "jion"}},
    {"ins$", kFinal, {"e~"}},
    {"ing$", kFinal, {"iN"}},
    {"iez$", kFinal, {"je", "ie"}},
    {"ieux", kFinal, {"j2"}},
    {"ies$", kFinal, {"i"}},
    {"ier$", kFinal, {"je", "jEr"}},
    {"ien$", kFinal, {"je~", "jEn"}},
    {"icz$", kFinal, {"itS"}},
    {"ichs$", kFinal, {"ik"}},
    {"ich$", kFinal, {"iS", "ik"}},
    {"ian_", kFinal, {"ja~"}},
    {"ian$", kFinal, {"ja~"}},
    {"ix$", kFinal, {"i", "is"}},
    {"iou", kFinal, {"ju"}},
    {"in_", kFinal, {"e~"}},
    {"in$", kFinal, {"e~"}},
    {"im_", kFinal, {"e~"}},
    {"ill", kFinal, {"ij", "il"}},
    {"ieu", kFinal, {"j2"}},
    {"ie$", kFinal, {"i"}},
    {"iau", kFinal, {"jo"}},
    {"ian", kFinal, {"ja~"}},
    {"iai", kFinal, {"jE"}},
    {"iê", kFinal, {"jE"}},
    {"ié", kFinal, {"je", "ie"}},
    {"iè", kFinal, {"jE", "iE"}},
    {"iu", kFinal, {"jy"}},
    {"io", kAdd, {"jo", "io"}},
    {"in", kFinal, {"e~"}},
    {"im", kFinal, {"e~", "im"}},
    {"ie", kFinal, {"je", "i"}},
    {"ia", kFinal, {"ja", "ia"}},
    {"i2", kAdd, {"j2"}},
    {"i$", kFinal, {"i"}},
    {"i", kFinal, {"i"}},
    // g: gu and gn, soft g.
    {"gua", kAdd, {"ga", "gwa"}},
    {"gu", kFinal, {"gu", "gy", "g"}},
    {"gn", kFinal, {"nj", "gn"}},
    {"gg", kFinal, {"g", "gZ"}},
    {"gs$", kFinal, {"."}},
    {"g$", kFinal, {".", "g"}},
    {"g", kFinal, {"g", "Z"}},
    // e: -ment and verb endings, silent final e, nasal en and em, eu, eau.
    {"emments$", kFinal, {"ama~"}},
    {"emment$", kFinal, {"ama~"}},
    {"ements$", kFinal, {"2ma~", "ma~"}},
    {"euils$", kFinal, {"2j"}},
    {"ement$", kFinal, {"2ma~", "ma~"}},
    {"euil$", kFinal, {"2j"}},
    {"ents$", kFinal, {"a~"}},
    {"eims$", kFinal, {"e~"}},
    {"eaux$", kFinal, {"o"}},
    {"eux$", kFinal, {"2"}},
    {"ers$", kFinal, {"e", "Er"}},
    {"ent$", kFinal, {"a~", "e~nt", "."}},
    {"ens$", kFinal, {"a~", "a~s"}},
    {"ein_", kFinal, {"e~"}},
    {"ein$", kFinal, {"e~"}},
    {"eim_", kFinal, {"e~"}},
    {"eim$", kFinal, {"e~"}},
    {"ez$", kFinal, {"e"}},
    {"ev$", kFinal, {"Ef"}},
    {"es$", kFinal, {".", "es"}},
    {"er$", kFinal, {"er", "2r", "e"}},
    {"en_", kFinal, {"a~"}},
    {"en$", kFinal, {"e~", "a~", "En"}},
    {"emm", kFinal, {"am", "Em", "a~m"}},
    {"em_", kFinal, {"a~"}},
    {"ein", kFinal, {"e~"}},
    {"eim", kFinal, {"e~"}},
    {"eau", kFinal, {"o"}},
    {"ey", kFinal, {"E"}},
    {"eu", kFinal, {"2"}},
    {"en", kFinal, {"a~"}},
    {"em", kFinal, {"a~", "2m", "m"}},
    {"ei", kFinal, {"E"}},
    {"ee", kFinal, {"i"}},
    {"ea", kFinal, {"ea", "i"}},
    {"e_", kFinal, {"2", "."}},
    {"e$", kFinal, {"."}},
    {"e", kFinal, {"2", "E", "."}},
    // d.
    {"deuxiè", kFinal, {"d2zjE"}},
    {"dixiè", kFinal, {"dizjE"}},
    {"ds$", kFinal, {"."}},
    {"d$", kFinal, {".", "d"}},
    {"d", kFinal, {"d"}},
    // c: ch in its three readings, silent final c.
    {"chov$", kFinal, {"tSOf", "tSOv"}},
    {"chev$", kFinal, {"tSev", "tSef", "tSof", "tSov"}},
    {"cs$", kFinal, {".", "k"}},
    {"ch", kFinal, {"S", "k", "tS"}},
    {"cc", kFinal, {"k"}},
    {"c$", kFinal, {"k", "."}},
    {"c", kFinal, {"k"}},
    // b.
    {"bien", kFinal, {"bje~"}},
    {"b", kFinal, {"b"}},
    // Start of word: readings of a first e, and the silent marker.
    {"^remm", kAdd, {"ra~m"}},
    {"^emm", kAdd, {"a~m", "em"}},
    {"^e", kAdd, {"e"}},
    {"^", kAdd, {"."}},
    // Letters that segmentation leaves undecided.
    {"SZ", kFinal, {"s", "z"}},
    {"SK", kFinal, {"S", "k"}},
    // a: ai and au, nasal an and ain, silent endings.
    {"aults$", kFinal, {"o"}},
    {"archéo", kFinal, {"arkeo"}},
    {"arachn", kFinal, {"arakn"}},
    {"aient$", kFinal, {"E"}},
    {"ault$", kFinal, {"o"}},
    {"aons$", kFinal, {"a~"}},
    {"ants$", kFinal, {"a~"}},
    {"amps$", kFinal, {"a~"}},
    {"ains$", kFinal, {"e~"}},
    {"ails$", kFinal, {"aj"}},
    {"aux$", kFinal, {"o"}},
    {"aon$", kFinal, {"a~"}},
    {"ant$", kFinal, {"a~"}},
    {"ans$", kFinal, {"a~", "an"}},
    {"amp$", kFinal, {"a~"}},
    {"aix$", kFinal, {"E"}},
    {"ait$", kFinal, {"E"}},
    {"ais$", kFinal, {"E"}},
    {"ain_", kFinal, {"e~"}},
    {"ain$", kFinal, {"e~"}},
    {"aim_", kFinal, {"e~"}},
    {"ail$", kFinal, {"aj"}},
    {"abdu", kFinal, {"abdy"}},
    {"an_", kFinal, {"a~"}},
    {"an$", kFinal, {"a~"}},
    {"am_", kFinal, {"a~"}},
    {"ain", kFinal, {"e~"}},
    {"aim", kFinal, {"e~", "Em"}},
    {"aî", kFinal, {"E"}},
    {"au", kFinal, {"o"}},
    {"an", kFinal, {"a~"}},
    {"ai", kFinal, {"E"}},
    {"ae", kFinal, {"e", "ae"}},
    {"a", kFinal, {"a"}},
    // Word and syllable marks: consumed, nothing written.
    {"$", kFinal, {""}},
    {"_", kFinal, {""}},
    {"-", kFinal, {""}},
    {"'", kFinal, {""}},
    {" ", kFinal, {""}},
};

const size_t kPhonemeCount = sizeof kPhonemeRules / sizeof kPhonemeRules[0];

const GroupIndex<kSegmentCount>& SegmentIndex() {
    static GroupIndex<kSegmentCount> index;
    static bool built = false;
    if (!built) {
        index.build(kSegmentRules, [](const SegmentRule& r) { return r.key; });
        built = true;
    }
    return index;
}

const GroupIndex<kPhonemeCount>& PhonemeIndex() {
    static GroupIndex<kPhonemeCount> index;
    static bool built = false;
    if (!built) {
        index.build(kPhonemeRules, [](const PhonemeRule& r) { return r.pattern; });
        built = true;
    }
    return index;
}

// Storage for the pair that KY_PhonSegmentRules answers.
KyPhonSegment g_segment;

}  // namespace

bool KY_PhonIsConsonant(char c) {
    return InSet(kConsonants, c);
}

void KY_PhonFold(char* text) {
    for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p; ++p) {
        unsigned char c = *p;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<unsigned char>(c + 0x20);
        else if (c == 0x8C)
            c = 0x9C;
        else if (c == 0xA5)
            c = 0xA4;
        else if ((c >= 0xC0 && c <= 0xCF) || (c >= 0xD1 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDC))
            c = static_cast<unsigned char>(c + 0x20);
        else if (c == 0xDD)
            c = 'y';
        *p = c;
    }
}

int KY_PhonPrefixLength(const char* left, size_t length) {
    static const char* const kPrefixes[] = {"re", "ré", "co", "in", "pre", "pré", "anti", "auto"};
    for (const char* prefix : kPrefixes) {
        if (std::strlen(prefix) == length && std::memcmp(prefix, left, length) == 0)
            return static_cast<int>(length);
    }
    return 0;
}

const KyPhonSegment* KY_PhonSegmentRules(const char* text, const char* left, size_t leftLength) {
    const GroupIndex<kSegmentCount>& index = SegmentIndex();
    unsigned char first = static_cast<unsigned char>(text[0]);
    if (!first)
        return nullptr;
    for (uint16_t k = index.start[first]; k < index.start[first + 1]; ++k) {
        const SegmentRule& rule = kSegmentRules[index.rules[k]];
        size_t keyLength = std::strlen(rule.key);
        if (std::strncmp(text, rule.key, keyLength) != 0)
            continue;
        if (rule.right[0] && !MatchRight(rule.right, text + keyLength, true))
            continue;
        if (rule.left[0] && !MatchLeft(rule.left, left, leftLength))
            continue;
        g_segment.key = rule.key;
        g_segment.replacement = rule.replacement;
        return &g_segment;
    }
    return nullptr;
}

int KY_PhonApplyRules(const char* text, KyPhonAlternative* out) {
    const GroupIndex<kPhonemeCount>& index = PhonemeIndex();
    unsigned char first = static_cast<unsigned char>(text[0]);
    int count = 0;
    if (!first)
        return 0;
    for (uint16_t k = index.start[first]; k < index.start[first + 1]; ++k) {
        const PhonemeRule& rule = kPhonemeRules[index.rules[k]];
        size_t keyLength = MatchRight(rule.pattern, text, false);
        if (!keyLength)
            continue;
        for (int j = 0; j < kMaxReadings && rule.readings[j] && count < kPhonMaxAlternatives; ++j)
            out[count++] = {keyLength, rule.readings[j]};
        if (rule.final)
            break;
    }
    return count;
}

void KY_PhonNormalize(char* text) {
    for (char* p = text; *p; ++p) {
        switch (*p) {
            case 'O':
                *p = 'o';
                break;
            case 'E':
                *p = 'e';
                break;
            case '9':
            case '@':
                *p = '2';
                break;
            case 'R':
                *p = 'r';
                break;
            default:
                break;
        }
    }
}
