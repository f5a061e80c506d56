// The prompt dialog: fills, trims and runs one prompt.
#include "web/browser/AMozillaPromptDialog.h"

#include <algorithm>

#include <windows.h>

#include "framework/app/AApp.h"
#include "framework/clusters/AClusterItem.h"
#include "framework/clusters/AStaticItem.h"
#include "framework/components/ALayoutLoader.h"

SV_IMPLEMENT_CLASS(AMozillaPromptDialog, 0, AWindow)

namespace {

AMozillaPromptDialog::Step g_step = nullptr;

}  // namespace

AMozillaPromptDialog::Step AMozillaPromptDialog::setStep(Step step) {
    Step old = g_step;
    g_step = step;
    return old;
}

AMozillaPromptDialog::~AMozillaPromptDialog() {
    // A dialog deleted while it runs ends the run as "Annuler".
    if (state_) {
        state_->running = 0;
        state_->alive = false;
    }
}

void AMozillaPromptDialog::readFrom(AMemoryStream& stream) {
    AWindow::readFrom(stream);
    ALayoutLoader::readEndMark(stream, "kyMozillaPrompt", 30);
}

void AMozillaPromptDialog::bindActions() {
    AWindow::bindActions();
    for (int16_t id : {kCheck, kButton0, kButton1, kButton2})
        addAction(id, this, id, ownActionTable());
}

ACommand* AMozillaPromptDialog::doCommand(int16_t id, long argument) {
    switch (id) {
    case kCheck:
        checkState_ = checkState_ ? 0 : 1;
        queueUpdate(0);
        return noChangeCommand();
    case kButton0:
    case kButton1:
    case kButton2:
        end(id);
        return AWindow::doCommand(kCloseCommand, 0);
    case kCancelCommand:
    case kCloseCommand:
        end(kButton1);
        return AWindow::doCommand(kCloseCommand, argument);
    default:
        return AWindow::doCommand(id, argument);
    }
}

int16_t AMozillaPromptDialog::commandStatus(int16_t id, long argument) {
    if (id == kCheck)
        return checkState_ ? 5 : 1;
    if (id == kButton0 || id == kButton1 || id == kButton2)
        return 1;
    return AWindow::commandStatus(id, argument);
}

ACommand* AMozillaPromptDialog::closeWindow() {
    if (state_ && state_->running) {
        state_->result = kButton1;
        state_->running = 0;
        info_ = nullptr;
    }
    return AWindow::closeWindow();
}

void AMozillaPromptDialog::end(int16_t id) {
    if (!state_ || !state_->running)
        return;
    state_->result = id;
    state_->running = 0;
    if (info_) {
        info_->checkBoxOn = checkState_;
        if (hasItem(kValue))
            info_->value = getItemText(kValue);
        if (hasItem(kPassword))
            info_->password = getItemText(kPassword);
    }
    info_ = nullptr;
}

void AMozillaPromptDialog::setUpFromParams(AMozillaPromptParams& params) {
    if (!params.title.empty())
        setTitle(params.title.c_str());
    struct Text {
        int16_t id;
        const AString& text;
    } texts[] = {{kMessage, params.text},       {kUserLabel, params.userLabel}, {kValue, params.value},
                 {kPasswordLabel, params.passwordLabel}, {kPassword, params.password}, {kCheck, params.checkLabel},
                 {kButton0, params.button0Label}, {kButton1, params.button1Label}, {kButton2, params.button2Label}};
    for (const Text& t : texts)
        if (!t.text.empty() && hasItem(t.id))
            setItemText(t.id, t.text.c_str());
    struct Shown {
        int16_t id;
        int16_t show;
    } shown[] = {{kValue, params.showValue},       {kUserLabel, params.showUserLabel}, {kPasswordLabel, params.showPassword},
                 {kPassword, params.showPassword}, {kCheck, params.showCheck},        {kButton0, params.showButton0},
                 {kButton1, params.showButton1},   {kButton2, params.showButton2}};
    for (const Shown& s : shown)
        if (AClusterItem* item = findItem(s.id, false))
            item->setVisible(s.show != 0);
    // Hidden rows hand their height to the message; the rows still shown stay
    // packed just above the buttons.
    AClusterItem* items[6];
    for (int i = 0; i < 6; ++i)
        items[i] = findItem(static_cast<int16_t>(kMessage + i), false);
    for (AClusterItem* item : items)
        if (!item)
            return;
    auto bottom = [&](int16_t id) { return items[id - kMessage]->getFrame().bottom(); };
    int32_t grow = 0, textShift = 0, passwordShift = 0;
    if (!params.showValue)
        grow += bottom(kValue) - bottom(kMessage);
    if (!params.showPassword) {
        if (params.showValue) {
            textShift += bottom(kPassword) - bottom(kValue);
            grow += bottom(kValue) - bottom(kMessage);
        } else {
            grow += bottom(kPassword) - bottom(kValue);
        }
    }
    if (!params.showCheck) {
        int32_t d = bottom(kCheck) - bottom(kPassword);
        grow += d;
        textShift += d;
        passwordShift += d;
    }
    // The dialog grows or shrinks so that the message shows whole: wider
    // first when its height would pass the screen's working area, never
    // past it.
    auto move = [](AClusterItem* item, int32_t top, int32_t bottomShift, int32_t right = 0, int32_t left = 0) {
        // A hidden native item would be shown again by its move; it stays where it is.
        if ((top == 0 && bottomShift == 0 && right == 0 && left == 0) || !item->hasFlags(kShown))
            return;
        ARect f = item->getFrame();
        item->changeFrame(ARect(f.left() + left, f.top() + top, f.right() + right, f.bottom() + bottomShift));
    };
    AClusterItem* buttons[3] = {findItem(kButton0, false), findItem(kButton1, false), findItem(kButton2, false)};
    int32_t extra = 0;
    auto* message = dynamic_cast<AStaticText*>(items[0]);
    if (message && message->font()) {
        RECT work = {0, 0, 800, 600};
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
        // Room for the dialog's client area, its frame and title bar aside.
        int32_t roomHeight = (work.bottom - work.top) - 60, roomWidth = (work.right - work.left) - 40;
        int32_t height = items[0]->getFrame().height();
        extra = message->naturalSize(false).y - height - grow;
        while (getSize().y + extra > roomHeight && getSize().x + 100 <= roomWidth) {
            for (AClusterItem* item : items)
                move(item, 0, 0, 100);
            for (AClusterItem* button : buttons)
                if (button)
                    move(button, 0, 0, 100, 100);
            setSize(APoint(getSize().x + 100, getSize().y), true);
            extra = message->naturalSize(false).y - height - grow;
        }
        extra = std::min(extra, std::max<int32_t>(roomHeight - getSize().y, 0));
    }
    grow += extra;
    textShift += extra;
    passwordShift += extra;
    int32_t checkShift = extra;
    move(items[0], 0, grow);
    move(items[1], textShift, textShift);
    move(items[2], textShift, textShift);
    move(items[3], passwordShift, passwordShift);
    move(items[4], passwordShift, passwordShift);
    move(items[5], checkShift, checkShift);
    if (extra == 0)
        return;
    // The buttons keep their places relative to the dialog's bottom edge.
    for (AClusterItem* button : buttons)
        if (button)
            move(button, extra, extra);
    APoint size = getSize();
    setSize(APoint(size.x, size.y + extra), true);
}

int16_t AMozillaPromptDialog::run(AMozillaPromptParams& params) {
    RunState state;
    state.running = 1;
    state_ = &state;
    info_ = &params;
    setUpFromParams(params);
    centerIn(nullptr, true);
    showUpdate();
    select();
    AApp* app = AApp::current();
    AMozillaPromptDialog* self = this;
    while (state.running) {
        if (g_step)
            g_step(self);
        else if (app && !app->quitFlag())
            app->runOnce();
        else
            break;  // no loop to turn: the prompt is answered as cancelled
    }
    // The window may be gone by now (its close runs from the command queue).
    if (state.alive) {
        state_ = nullptr;
        info_ = nullptr;
    }
    return state.result;
}
