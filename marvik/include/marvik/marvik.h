// The segmentation library: splits Chinese text into words, gives the code of a
// character or word, proposes a numeric code for a new word and keeps the user's
// custom words. Plain C++ with a C interface on UTF-16 strings, so that there is
// exactly one tag per UTF-16 unit of the caller's text.
//
// Every output buffer comes with its capacity in UTF-16 units; the library never
// writes past it. Results are 16-bit as in the original interface.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Results shared by the functions below. */
enum MarvikResult {
    MARVIK_OK = 0,
    MARVIK_ERR_DICTIONARY = -1, /* dictionary missing or damaged (see MarvikLastError) */
    MARVIK_ERR_BUFFER = -2,     /* an output buffer is too small */
    MARVIK_ERR_ARGUMENT = -3    /* a null pointer or a negative length */
};

/* Loads the dictionary "marvik.dic" from dictDir (NUL-terminated UTF-16; a trailing
   "/" is optional) once per process. Later calls with any directory return the result
   of the first successful load; a failed load is retried on the next call. Thread-safe.
   Returns MARVIK_OK or MARVIK_ERR_DICTIONARY. */
int16_t MarvikLoad(const char16_t *dictDir);

/* A human-readable (UTF-8) description of the last failure of MarvikLoad, or "". */
const char *MarvikLastError(void);

/* Sets the per-user custom dictionary file (NUL-terminated UTF-16 path). Without a call,
   the file is $XDG_DATA_HOME/Trevix2006/custom.dic, or ~/.local/share/Trevix2006/custom.dic.
   Takes effect for the next load; when the dictionary is already loaded, the custom words
   of the new file are read at once. Returns MARVIK_OK. */
int16_t MarvikSetUserDictPath(const char16_t *path);

/* Segments text (textLen UTF-16 units) into tags (capacity tagsCapacity units): one tag
   per unit, "0"/"1" alternating from Chinese word to Chinese word, "2" for punctuation,
   symbols, blanks, line breaks and every other character, "4" for ASCII and full-width
   letters and digits (a run of them is one item). Both units of a surrogate pair carry the
   same tag. When tagsCapacity > textLen a NUL follows the tags.
   Loads the dictionary from dictDir first when needed.
   Returns MARVIK_OK, MARVIK_ERR_DICTIONARY, MARVIK_ERR_BUFFER (tagsCapacity < textLen,
   nothing written) or MARVIK_ERR_ARGUMENT. */
int16_t DivideSentence(const char16_t *dictDir, const char16_t *text, int32_t textLen,
                       char16_t *tags, int32_t tagsCapacity);

/* Proposes a numeric code for word (NUL-terminated): the standard code of the word by the
   code rule (a character's own code for one character). Writes the digits and a NUL at the
   start of codeBuf. Returns the number of digits (1..6), 0 when the word has no code,
   MARVIK_ERR_BUFFER when the code and its NUL do not fit, MARVIK_ERR_DICTIONARY when no
   dictionary is loaded, MARVIK_ERR_ARGUMENT. */
int16_t Convert(const char16_t *word, char16_t *codeBuf, int32_t capacity);

/* Adds word with code (both NUL-terminated) to the custom dictionary file and to the
   loaded dictionary, so that it takes part in the next segmentation and is preferred there.
   Returns 0 added, 1 already present (in the dictionary or the custom file), -1 the custom
   file cannot be opened or written (or the word or code is unusable). */
int16_t AddWord(const char16_t *code, const char16_t *word);

/* Gives the standard code of item (NUL-terminated): a character's code, a custom word's
   code, or a word's code by the code rule. On success the code is written at the start of
   codeBuf followed by blanks up to capacity (the caller removes the blanks), and the result
   is the number of digits (> 0). 0: the item has no code. -1: no dictionary is loaded, a
   bad argument, or the code does not fit in capacity units (nothing written). */
int16_t GetItemCode(const char16_t *item, char16_t *codeBuf, int32_t capacity);

#ifdef __cplusplus
}
#endif
