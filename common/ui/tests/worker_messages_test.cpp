// The bridge from worker threads to the operator: messages shown on the user interface thread,
// answers handed back, and a cancel that never leaves a worker waiting.
#include <gtest/gtest.h>

#include <QObject>
#include <QTest>
#include <atomic>
#include <thread>

#include "common/ui/worker_messages.h"

namespace brightline::ui {
namespace {

const OperatorMessage kQuestion{"Go on?", "Prompt", MessageIcon::Question, MessageButtons::YesNo};

TEST(WorkerMessages, AWorkersQuestionIsAnsweredOnTheUserInterfaceThread) {
    QObject context;
    RecordingMessages operatorAnswers;
    operatorAnswers.queueAnswer(MessageAnswer::No);
    WorkerMessages bridge(&context, operatorAnswers);
    std::atomic<bool> done{false};
    MessageAnswer answer = MessageAnswer::Yes;
    std::thread worker([&] {
        answer = bridge.show(kQuestion);
        done = true;
    });
    // Nothing is shown until this thread dispatches its events.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(operatorAnswers.messages().empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000))
        << "the worker never got its answer";
    worker.join();
    EXPECT_EQ(answer, MessageAnswer::No);
    ASSERT_EQ(operatorAnswers.messages().size(), 1u);
    EXPECT_EQ(operatorAnswers.messages()[0].text, "Go on?");
}

TEST(WorkerMessages, CancelAnswersAWaitingWorkerAtOnceAndShowsNothingMore) {
    QObject context;
    RecordingMessages operatorAnswers;
    WorkerMessages bridge(&context, operatorAnswers);
    MessageAnswer first = MessageAnswer::Yes;
    std::thread worker([&] { first = bridge.show(kQuestion); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bridge.cancel();
    worker.join();  // no event was dispatched: the cancel alone released the worker
    EXPECT_EQ(first, MessageAnswer::No);
    EXPECT_TRUE(bridge.cancelled());
    // The hand-off still queued finds the bridge cancelled and shows nothing; later messages,
    // from any thread, are answered without a box.
    QCoreApplication::processEvents();
    EXPECT_EQ(
        bridge.show(OperatorMessage{"Stop?", "", MessageIcon::None, MessageButtons::OkCancel}),
        MessageAnswer::Cancel);
    std::thread late([&] { EXPECT_EQ(bridge.show("Done."), MessageAnswer::Ok); });
    late.join();
    EXPECT_TRUE(operatorAnswers.messages().empty());
}

TEST(WorkerMessages, AMessageOnTheContextsOwnThreadGoesStraightThrough) {
    QObject context;
    RecordingMessages operatorAnswers;
    operatorAnswers.queueAnswer(MessageAnswer::Cancel);
    WorkerMessages bridge(&context, operatorAnswers);
    EXPECT_EQ(bridge.show(OperatorMessage{"Send?", "INFO", MessageIcon::Question,
                                          MessageButtons::OkCancel}),
              MessageAnswer::Cancel);
    EXPECT_EQ(operatorAnswers.messages().size(), 1u);
}

}  // namespace
}  // namespace brightline::ui
