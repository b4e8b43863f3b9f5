#include "ui/testing/test_backend.h"

#include <algorithm>
#include <utility>

#include "resources/dialog_templates.h"
#include "ui/dialog.h"
#include "ui/dialog_manager.h"

namespace ofu::ui {
namespace {

// How long a scripted dialog may run on after its actions before it counts as stuck.
constexpr std::int64_t kScriptedDialogLimitMs = 24LL * 60 * 60 * 1000;

const char* IconName(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return "error";
        case MessageIcon::Warning:
            return "warning";
        case MessageIcon::Information:
            return "information";
        case MessageIcon::None:
            break;
    }
    return "none";
}

std::string Describe(const ScriptEntry& entry) {
    if (entry.kind == ScriptEntry::Kind::Dialog) return "dialog " + std::to_string(entry.templateId);
    return "message \"" + entry.text + "\"";
}

}  // namespace

TestBackend::TestBackend()
    : scheduler_([this](TestSession* session, int timerId) { FireTimer(session, timerId); },
                 [this](std::string failure) { AddFailure(std::move(failure)); }) {}

TestBackend::~TestBackend() {
    for (auto it = sessions_.rbegin(); it != sessions_.rend(); ++it) Teardown(**it);
}

std::string TestBackend::FailureText() const {
    std::string text;
    for (const std::string& failure : failures_) text += failure + "\n";
    return text;
}

void TestBackend::AddFailure(std::string failure) {
    log_.Add(0, "FAILURE: " + failure);
    failures_.push_back(std::move(failure));
}

void TestBackend::AdvanceTime(std::int64_t milliseconds) { scheduler_.Advance(milliseconds); }

TestSession* TestBackend::FrontSession() {
    for (auto it = sessions_.rbegin(); it != sessions_.rend(); ++it) {
        if (!(*it)->closed) return it->get();
    }
    return nullptr;
}

TestSession& TestBackend::CreateSession(Dialog& dialog, bool scripted) {
    auto session = std::make_unique<TestSession>();
    session->dialog = &dialog;
    session->scripted = scripted;
    session->surface = std::make_unique<TestSurface>(*this, *session, dialog.Template());
    dialog.AttachSurface(session->surface.get());
    sessions_.push_back(std::move(session));
    return *sessions_.back();
}

void TestBackend::ForgetSession(TestSession& session) {
    sessions_.remove_if([&](const std::unique_ptr<TestSession>& s) { return s.get() == &session; });
}

void TestBackend::Teardown(TestSession& session) {
    if (session.closed) return;
    scheduler_.StopWorkers(&session);
    scheduler_.RemoveTimers(&session);
    if (session.dialog != nullptr) session.dialog->AttachSurface(nullptr);
    session.closed = true;
    log_.Add(session.surface ? session.dialog->TemplateId() : 0,
             "Closed(" + std::to_string(session.result) + ")");
}

void TestBackend::AfterAction(TestSession& session) {
    scheduler_.Settle();
    if (!session.scripted && session.ended && !session.closed) Teardown(session);
}

void TestBackend::FireTimer(TestSession* session, int timerId) {
    if (session == nullptr || session->closed || session->ended) return;
    log_.Add(session->dialog->TemplateId(), "Timer(" + std::to_string(timerId) + ")");
    session->dialog->OnTimer(timerId);
    AfterAction(*session);
}

TestDialog TestBackend::Open(Dialog& dialog) {
    TestSession& session = CreateSession(dialog, false);
    log_.Add(dialog.TemplateId(), "Open()");
    InitDialog(dialog);
    AfterAction(session);
    return TestDialog(*this, session, true);
}

int TestBackend::RunModal(Dialog& dialog) {
    const int id = dialog.TemplateId();
    log_.Add(id, "DoModal()");
    const ScriptEntry* front = script_.Front();
    if (front == nullptr || front->kind != ScriptEntry::Kind::Dialog || front->templateId != id) {
        AddFailure("dialog " + std::to_string(id) + " was run, but the script expected " +
                   (front == nullptr ? std::string("nothing") : Describe(*front)));
        return -1;
    }
    ScriptEntry entry = script_.PopFront();
    TestSession& session = CreateSession(dialog, true);
    InitDialog(dialog);
    scheduler_.Settle();
    if (!session.ended && entry.actions) {
        TestDialog hold(*this, session, false);
        entry.actions(hold);
        scheduler_.Settle();
    }
    if (!session.ended) {
        scheduler_.RunUntil([&] { return session.ended; }, Now() + kScriptedDialogLimitMs);
    }
    if (!session.ended) {
        AddFailure("dialog " + std::to_string(id) + " was still open after its script");
        session.ended = true;
        session.result = -1;
    }
    const int result = session.result;
    Teardown(session);
    ForgetSession(session);
    return result;
}

int TestBackend::ShowMessage(const MessageRequest& request) {
    messages_.push_back(request);
    log_.Add(request.ownerTemplateId, "ShowMessage(\"" + request.text + "\", \"" +
                                          request.caption + "\", " + IconName(request.icon) + ")");
    const ScriptEntry* front = script_.Front();
    if (front == nullptr || front->kind != ScriptEntry::Kind::Message) {
        if (strictMessages_) AddFailure("unexpected message \"" + request.text + "\"");
        return kIdOk;
    }
    const ScriptEntry entry = script_.PopFront();
    if (entry.text != request.text ||
        (entry.caption.has_value() && *entry.caption != request.caption) ||
        (entry.icon.has_value() && *entry.icon != request.icon)) {
        AddFailure("expected message \"" + entry.text + "\" (" +
                   entry.caption.value_or("any caption") + ", " +
                   (entry.icon ? IconName(*entry.icon) : "any icon") + "), got \"" + request.text +
                   "\" (" + request.caption + ", " + IconName(request.icon) + ")");
    }
    return entry.answer;
}

TestBackend& InstallTestBackend() {
    FreeBackend();
    auto backend = std::make_unique<TestBackend>();
    TestBackend& installed = *backend;
    InitBackend(std::move(backend));
    return installed;
}

}  // namespace ofu::ui
