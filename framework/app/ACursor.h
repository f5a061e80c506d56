// Cursors and scoped cursor guards.
//
// An ACursor owns its handle unless it is a system cursor (numbers from
// 32512), which is never destroyed; a resource that does not exist gives a
// null handle, which hides the cursor. Guards set a cursor and capture the
// mouse for their scope and put the previous cursor back when they end; an
// AOwnerCursorGuard animates a run of cursor resources, nested guards chaining.
#pragma once

#include <cstdint>

class AApp;

class ACursor {
public:
    enum : int16_t { kArrow = 32512, kWait = 32514 };
    // Without an application a resource number becomes the system arrow.
    ACursor(AApp* app, int16_t number);
    virtual ~ACursor();
    ACursor(const ACursor&) = delete;
    ACursor& operator=(const ACursor&) = delete;

    void set();
    // Through the application (answering its previous number), else set (answering 32512).
    int16_t apply();
    void detach() { app_ = nullptr; }
    int16_t number() const { return number_; }
    bool system() const { return system_ != 0; }
    void* handle() const { return handle_; }

private:
    AApp* app_;  // not owned
    int16_t number_;
    void* handle_ = nullptr;  // HCURSOR, owned unless system
    uint16_t system_ = 0;
};

void SetArrowCursor();

class ACursorGuard {
public:
    ACursorGuard(AApp* app, int16_t number);
    virtual ~ACursorGuard();
    ACursorGuard(const ACursorGuard&) = delete;
    ACursorGuard& operator=(const ACursorGuard&) = delete;

    virtual void detach() { app_ = nullptr; }
    void setPrevious(int16_t number) { previous_ = number; }
    int16_t previous() const { return previous_; }

protected:
    int16_t previous_ = -4;
    AApp* app_;               // not owned
    ACursor* own_ = nullptr;  // owned: the cursor set without an application
};

class AOwnerCursorGuard : public ACursorGuard {
public:
    // Shows base; nextFrame steps through base .. base + frames - 1.
    AOwnerCursorGuard(AApp* app, int16_t base, int16_t frames);
    ~AOwnerCursorGuard() override;
    void nextFrame();
    // Forgets the application along the whole chain of outer guards.
    void detach() override;
    AOwnerCursorGuard* outer() const { return outer_; }

private:
    int16_t base_;
    int16_t frame_ = 0;
    int16_t frames_;
    AOwnerCursorGuard* outer_ = nullptr;  // not owned
};

// The system's wait cursor and the capture for a scope.
class AWaitCursor {
public:
    AWaitCursor();
    ~AWaitCursor();
    AWaitCursor(const AWaitCursor&) = delete;
    AWaitCursor& operator=(const AWaitCursor&) = delete;

private:
    void* previous_;  // HCURSOR, not owned
};
