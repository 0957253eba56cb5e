// The main window's generation run and its results window.
#include <optional>
#include <utility>

#include <QCoreApplication>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>

#include "app/draw_keys.h"
#include "app/form1.h"
#include "app/row_statements.h"
#include "generate/count.h"
#include "generate/fast_random.h"
#include "generate/generation.h"
#include "generate/invented_persons.h"
#include "generate/person_draw.h"
#include "generate/person_rows.h"
#include "guarded/failure_report.h"
#include "names/name_list_model.h"
#include "platform/dialogs.h"
#include "platform/pointer.h"
#include "results/form2.h"
#include "results/result_list.h"
#include "widgets/failure_box.h"
#include "widgets/progress_bar.h"

namespace app {

using guarded::locationTag;

namespace {

const QString kTooMany = QStringLiteral("You must select an amount less than one million.");
const QString kNotANumber = QStringLiteral("How many does not appear to be a number.");

// The part-of-name options as the row steps read them, afresh on every row.
struct PartOfName {
    const QRadioButton* option4;
    const QRadioButton* option5;
    const QRadioButton* option6;
    bool firstAndLast() const { return option4->isChecked(); }
    bool firstOnly() const { return option5->isChecked(); }
    bool lastOnly() const { return option6->isChecked(); }
};

}  // namespace

void Form1::PushButton1_Click() {
    widgets::WindowProcedure procedure(env_.dialogs, locationTag("Form1", "PushButton1_Click"));
    if (procedure.test(104, [this] { return generating_; })) return;
    procedure.run(106, [this] { generating_ = true; });
    procedure.run(108, [] { QCoreApplication::processEvents(); });

    const QLocale locale;  // the user's
    const auto message = [this](const QString& text) {
        env_.dialogs.messageBox(text, platform::MessageStyle::Ok, applicationTitle_);
    };
    if (procedure.test(110, [&] {
            const std::optional<double> value = generate::readNumber(Text1->text(), locale);
            return value && !generate::withinCountLimit(*value);
        })) {
        procedure.run(166, [&] { message(kTooMany); });
    } else {
        procedure.run(112, [this] { SetMousePointer(platform::PointerShape::Hourglass); });
        if (procedure.test(120, [&] { return !generate::readsAsNumber(Text1->text(), locale); })) {
            procedure.run(160, [&] { message(kNotANumber); });
        } else {
            procedure.run(122, [this] { resultsWindow().results().clear(); });
            // A count that does not fit is reported here and the run goes on
            // without rows.
            std::int32_t count = 0;
            procedure.run(124, [&] { count = generate::countFromText(Text1->text(), locale); });
            if (count > 0 && hasResultsWindow()) {
                results::ResultList& rows = form2_->results();
                rows.reserve(count);
                const double plainValue = generate::plainValue(Text1->text());
                const PartOfName partOfName{Option4, Option5, Option6};
                guarded::NumberedSteps<rowStatement> rowSteps(procedure);
                auto progress = [this, shown = -1](int position) mutable {
                    // The bar takes a position only when it changes.
                    if (position == shown) return;
                    ProgressBar1->advance(position);
                    shown = position;
                };
                DrawKeys keysNow;
                if (procedure.test(170, [&] {
                        keysNow = drawKeys();
                        return keysNow.invent || drawsByFrequency(keysNow) || drawsPersons();
                    })) {
                    // One person a row, drawn by the engine or invented, with a
                    // generator seeded from the window's own.
                    generate::FastRandom personRandom;
                    const auto produce = [&](auto& draw) {
                        generate::producePersonRows(rowSteps, draw, personRandom, count, plainValue,
                                                    partOfName, rows, progress);
                    };
                    if (keysNow.invent) {
                        std::optional<generate::InventedPersons> invented;
                        procedure.run(172, [&] {
                            invented.emplace(inventionPlan(), generate::drawSeed(random_));
                            personRandom.seed(generate::drawSeed(random_));
                        });
                        if (invented) produce(*invented);
                    } else {
                        std::shared_ptr<const generate::PersonDraw> persons;
                        procedure.run(172, [&] {
                            persons = personDraw(keysNow);
                            personRandom.seed(generate::drawSeed(random_));
                        });
                        if (persons) produce(*persons);
                    }
                } else {
                    generate::produceRows(rowSteps, random_, count, plainValue,
                                          firstNames_->entries(), lastNames_->entries(), partOfName,
                                          rows, progress);
                }
            }
            procedure.run(152, [this] { SetMousePointer(platform::PointerShape::Normal); });
            procedure.run(154, [this] { ProgressBar1->rest(); });
            procedure.run(156, [this] {
                // The list learns of its new rows at once, as the window shows.
                resultsWindow().results().publish();
                resultsWindow().show();
            });
            procedure.run(158, [this] { hide(); });
        }
        procedure.run(164, [this] {
            SetMousePointer(platform::PointerShape::Normal);
            ProgressBar1->rest();
        });
    }
    procedure.run(168, [this] { generating_ = false; });
}

results::Form2& Form1::resultsWindow() {
    if (!form2_) form2_ = std::make_unique<results::Form2>(env_, applicationTitle_, this);
    return *form2_;
}

}  // namespace app
