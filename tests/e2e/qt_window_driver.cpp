#include "tests/e2e/qt_window_driver.h"

#include "platform/services.h"
#include "protocol/shared_texts.h"
#include "protocol/transport.h"
#include "ui/backend.h"
#include "ui/dialog.h"

#include <QTest>
#include <QTreeWidget>

#include <optional>

namespace ofu::e2e {

QWidget* WidgetOf(ui::QtDialogWindow& window, int id) {
    ui::QtControl* control = window.Control(id);
    return control != nullptr ? control->widget : nullptr;
}

bool ClickButton(ui::QtDialogWindow& window, int id) {
    QWidget* button = WidgetOf(window, id);
    if (button == nullptr) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    return true;
}

namespace {

// Where the row whose first column reads `text` is (empty space below the rows for an empty
// text); empty when there is no such row.
std::optional<QPoint> RowPoint(QTreeWidget& list, const std::string& text) {
    if (text.empty()) return QPoint(5, list.viewport()->height() - 3);
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list.topLevelItem(row);
        if (item->text(0).toStdString() != text) continue;
        list.scrollToItem(item);
        return list.visualItemRect(item).center();
    }
    return std::nullopt;
}

}  // namespace

bool ClickRow(ui::QtDialogWindow& window, int listId, const std::string& text) {
    auto* list = static_cast<QTreeWidget*>(WidgetOf(window, listId));
    const std::optional<QPoint> point = list != nullptr ? RowPoint(*list, text) : std::nullopt;
    if (!point) return false;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, *point);
    return true;
}

bool DoubleClickRow(ui::QtDialogWindow& window, int listId, const std::string& text) {
    auto* list = static_cast<QTreeWidget*>(WidgetOf(window, listId));
    const std::optional<QPoint> point = list != nullptr ? RowPoint(*list, text) : std::nullopt;
    if (!point) return false;
    // As a mouse sends it: press, release, the double-click in place of the second press,
    // release.
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, *point);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, *point);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, *point);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, *point);
    return true;
}

void TypeInto(ui::QtDialogWindow& window, int editId, const std::string& text) {
    QTest::keyClicks(WidgetOf(window, editId), QString::fromStdString(text));
}

DialogAnswers::DialogAnswers(ui::QtBackend& backend) : backend_(backend) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        ui::QtDialogWindow* front = backend_.FrontWindow();
        if (front == nullptr || answers_.empty() || front->Owner().TemplateId() != answers_.front().first) return;
        Answer answer = std::move(answers_.front().second);
        answers_.pop_front();
        answer(*front);
    });
    timer_.start(10);
}

QtLabSession::QtLabSession() {
    ClearSharedTexts();
    platform::InitPlatformServices();
    auto backend = std::make_unique<ui::QtBackend>();
    qt_ = backend.get();
    ui::InitBackend(std::move(backend));
    qt_->SetMessageHook([this](const ui::MessageRequest& message) {
        messages.push_back(message.text);
        captions.push_back(message.caption);
        return ui::kIdOk;
    });
    StartTransport();
}

QtLabSession::~QtLabSession() {
    StopTransport();
    ui::FreeBackend();
    platform::FreePlatformServices();
}

}  // namespace ofu::e2e
