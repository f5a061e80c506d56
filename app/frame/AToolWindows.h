// What the main window asks of the tool windows it keeps, made from layouts
// it cannot name the classes of: the dictionary window ("Dico") and the
// author window ("Auteur"). Each window implements its interface on the root
// of its layout and tells the frame when it closes (Frame1::forget...).
#pragma once

class ADictionaryWindow {
public:
    virtual ~ADictionaryWindow() = default;
    // On first use: loads the dictionary data, resets the word field.
    virtual void openDictionary() = 0;
    // Shows the word and its answer (an empty word shows the default text).
    virtual void lookUp(const char* word) = 0;
};

class AAuthorWindow {
public:
    virtual ~AAuthorWindow() = default;
    // The author record's notice and articles; docNo is brought into view in the list.
    virtual void showAuthor(long author, long docNo) = 0;
};
