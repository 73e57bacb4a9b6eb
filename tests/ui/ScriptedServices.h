#pragma once

#include "Services.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Services that answer every modal request from a script and record what was asked, so the
// desktop's flows run headless with no timers and no real dialogs.
class ScriptedServices final : public gyrodex::Services {
public:
    // Answers, taken in order; an empty queue (or a null name) means the user cancelled.
    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    std::deque<std::optional<gyrodex::Colour>> colourAnswers;
    std::deque<bool> printAnswers;
    int printDialogs = 0;
    std::deque<std::optional<QFont>> fontAnswers;
    // Plays the user's part in one of the program's dialogs: fill fields, press a button.
    std::deque<std::function<void(QDialog&)>> dialogScripts;

    std::vector<gyrodex::FileRequest> fileRequests;
    QStringList messages;
    int colourDialogs = 0;
    int fontDialogs = 0;
    std::vector<gyrodex::Colour> colourPresets;
    std::vector<QFont> fontPresets;

    std::optional<QString> openFile(const gyrodex::FileRequest& r) override {
        fileRequests.push_back(r);
        return takeName(openAnswers);
    }
    std::optional<QString> saveFile(const gyrodex::FileRequest& r) override {
        fileRequests.push_back(r);
        return takeName(saveAnswers);
    }
    std::optional<gyrodex::Colour> chooseColour(gyrodex::Colour preset,
                                                gyrodex::CustomColours&) override {
        ++colourDialogs;
        colourPresets.push_back(preset);
        return take(colourAnswers);
    }
    std::optional<QFont> chooseFont(const QFont& preset) override {
        ++fontDialogs;
        fontPresets.push_back(preset);
        return take(fontAnswers);
    }
    bool printDialog(QPrinter&) override {
        ++printDialogs;
        if (printAnswers.empty())
            return false;
        const bool ok = printAnswers.front();
        printAnswers.pop_front();
        return ok;
    }
    bool printerSetup(QPrinter&) override { return false; }
    void information(const QString& text) override { messages << text; }
    // Questions asked, and their answers in order (none left: Cancel, and Discard for recovery).
    QStringList questions;
    std::deque<SaveAnswer> saveChoices;
    std::deque<bool> recoverChoices;
    SaveAnswer askToSave(const QString& text) override {
        questions << text;
        if (saveChoices.empty())
            return SaveAnswer::Cancel;
        const SaveAnswer a = saveChoices.front();
        saveChoices.pop_front();
        return a;
    }
    bool askToRecover(const QString& text) override {
        questions << text;
        if (recoverChoices.empty())
            return false;
        const bool a = recoverChoices.front();
        recoverChoices.pop_front();
        return a;
    }
    int exec(QDialog& dialog) override {
        dialog.setResult(QDialog::Rejected);
        if (!dialogScripts.empty()) {
            auto script = std::move(dialogScripts.front());
            dialogScripts.pop_front();
            script(dialog);
        }
        return dialog.result();
    }

private:
    static std::optional<QString> takeName(std::deque<QString>& q) {
        if (q.empty())
            return std::nullopt;
        const QString name = q.front();
        q.pop_front();
        if (name.isNull())
            return std::nullopt;
        return name;
    }
    template <typename T> static std::optional<T> take(std::deque<std::optional<T>>& q) {
        if (q.empty())
            return std::nullopt;
        auto answer = q.front();
        q.pop_front();
        return answer;
    }
};
