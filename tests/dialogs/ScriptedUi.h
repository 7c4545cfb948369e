// UI services for the dialog tests: every modal interaction is recorded and
// answered from a script instead of a human.
#pragma once
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "dialogs/UiServices.h"

namespace tvk::test {

class ScriptedUi : public IUiServices {
public:
    ScriptedUi() { SetUiServices(this); }
    ~ScriptedUi() override { SetUiServices(nullptr); }

    void Message(QWidget*, const QString& text, Icon icon) override {
        messages << text;
        icons.push_back(icon);
    }
    bool AskYesNo(QWidget*, const QString& text) override {
        questions << text;
        return yesNoAnswer;
    }
    QString SaveFileName(QWidget*, const QString& filter, const QString& suffix, const QString& initial) override {
        saveRequests << (filter + "|" + suffix + "|" + initial);
        return Next(saveAnswers);
    }
    QString OpenFileName(QWidget*, const QString& filter, const QString&) override {
        openRequests << filter;
        return Next(openAnswers);
    }
    bool ChooseFont(QWidget*, QFont& font) override {
        if (!fontAnswer) return false;
        font = *fontAnswer;
        return true;
    }
    int AskOverwrite(const QString& existing, const QString& newFile) override {
        overwriteQuestions << (existing + "|" + newFile);
        if (onOverwrite) onOverwrite();
        if (overwriteAnswers.empty()) return 2;
        int answer = overwriteAnswers.front();
        overwriteAnswers.pop_front();
        return answer;
    }

    QStringList messages, questions, saveRequests, openRequests, overwriteQuestions;
    std::vector<Icon> icons;
    bool yesNoAnswer = true;
    std::deque<QString> saveAnswers, openAnswers;
    std::deque<int> overwriteAnswers;
    std::optional<QFont> fontAnswer;
    std::function<void()> onOverwrite;  // runs while the worker waits for the answer

private:
    static QString Next(std::deque<QString>& answers) {
        if (answers.empty()) return QString();
        QString a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace tvk::test
