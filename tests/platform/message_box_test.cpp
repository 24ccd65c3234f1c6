// Message boxes of a device nobody sits in front of: the answer queue, and
// the boxes that take their answers from it.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "platform/automation/answer_queue.h"
#include "platform/message_box_types.h"
#include "platform/queued_message_box.h"
#include "platform/journal.h"
#include "tests/support/temp_device.h"

namespace platform {
namespace {

using automation::AnswerFromName;
using automation::AnswerName;
using automation::QueueAnswers;
using automation::QueuedAnswers;
using automation::TakeQueuedAnswer;

TEST(AnswerQueue, FirstInFirstOutSharedThroughTheDevice) {
  test_support::TempDevice device;
  EXPECT_EQ(TakeQueuedAnswer(), std::nullopt);
  ASSERT_EQ(QueueAnswers({mb::kIdYes, mb::kIdNo}), kErrorSuccess);
  ASSERT_EQ(QueueAnswers({mb::kIdOk}), kErrorSuccess);
  EXPECT_EQ(QueuedAnswers(), (std::vector<int>{mb::kIdYes, mb::kIdNo, mb::kIdOk}));
  // The queue is a plain file of the device, for every process of it and for
  // a person with an editor.
  std::ifstream file(device.Root() / "answers.txt");
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), "yes\nno\nok\n");
  EXPECT_EQ(TakeQueuedAnswer(), mb::kIdYes);
  EXPECT_EQ(TakeQueuedAnswer(), mb::kIdNo);
  EXPECT_EQ(TakeQueuedAnswer(), mb::kIdOk);
  EXPECT_EQ(TakeQueuedAnswer(), std::nullopt);
}

TEST(AnswerQueue, RefusesWhatIsNoAnswerAndTooLongAQueue) {
  test_support::TempDevice device;
  EXPECT_EQ(QueueAnswers({mb::kIdYes, 42}), kErrorInvalidParameter);
  EXPECT_TRUE(QueuedAnswers().empty());  // nothing of a refused call is queued
  EXPECT_EQ(QueueAnswers(std::vector<int>(automation::kMaxQueuedAnswers + 1, mb::kIdOk)),
            kErrorNotEnoughMemory);
  EXPECT_EQ(automation::ClearQueuedAnswers(), kErrorSuccess);
  // Lines that name no answer are passed over.
  {
    std::FILE* f = std::fopen((device.Root() / "answers.txt").c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("maybe\r\nNo\n\nyes\n", f);
    std::fclose(f);
  }
  EXPECT_EQ(QueuedAnswers(), (std::vector<int>{mb::kIdNo, mb::kIdYes}));
  ScopedDevice rootless{std::filesystem::path()};
  EXPECT_EQ(QueueAnswers({mb::kIdOk}), kErrorPathNotFound);
  EXPECT_EQ(TakeQueuedAnswer(), std::nullopt);
}

TEST(AnswerQueue, NamesBothWays) {
  const std::pair<int, const char*> names[] = {{mb::kIdOk, "ok"},       {mb::kIdCancel, "cancel"},
                                               {mb::kIdAbort, "abort"}, {mb::kIdRetry, "retry"},
                                               {mb::kIdIgnore, "ignore"}, {mb::kIdYes, "yes"},
                                               {mb::kIdNo, "no"}};
  for (const auto& [answer, name] : names) {
    EXPECT_EQ(AnswerName(answer), name);
    EXPECT_EQ(AnswerFromName(name), answer);
  }
  EXPECT_EQ(AnswerFromName("YES"), mb::kIdYes);
  EXPECT_EQ(AnswerFromName("yess"), std::nullopt);
  EXPECT_EQ(AnswerName(0), std::nullopt);
}

struct BoxCase {
  const char* name;
  uint32_t type;
  std::vector<int> queued;
  int answer;
  std::string journal;  // after the sequence number
};

TEST(QueuedMessageBox, AnswersFromTheQueueOrAsDismissed) {
  const BoxCase cases[] = {
      {"queued yes", mb::kYesNo | mb::kIconQuestion, {mb::kIdYes}, mb::kIdYes,
       "message box \"Caption\": \"Text\" (question; yes/no) answered yes"},
      {"nothing queued: no", mb::kYesNo | mb::kIconQuestion, {}, mb::kIdNo,
       "message box \"Caption\": \"Text\" (question; yes/no) answered no (nothing queued: dismissed)"},
      {"nothing queued, OK only", mb::kOk | mb::kIconStop, {}, mb::kIdOk,
       "message box \"Caption\": \"Text\" (stop; ok) answered ok (nothing queued: dismissed)"},
      {"yes/no/cancel dismissed is cancel", mb::kYesNoCancel, {}, mb::kIdCancel,
       "message box \"Caption\": \"Text\" (no icon; yes/no/cancel) answered cancel (nothing queued: dismissed)"},
      {"an answer the box lacks", mb::kOk | mb::kIconExclamation, {mb::kIdYes}, mb::kIdOk,
       "message box \"Caption\": \"Text\" (exclamation; ok) answered ok (queued yes is not offered: dismissed)"},
      {"retry/cancel", mb::kRetryCancel | mb::kIconInformation, {mb::kIdRetry}, mb::kIdRetry,
       "message box \"Caption\": \"Text\" (information; retry/cancel) answered retry"},
  };
  for (const BoxCase& c : cases) {
    SCOPED_TRACE(c.name);
    test_support::TempDevice device;
    if (!c.queued.empty()) {
      ASSERT_EQ(QueueAnswers(c.queued), kErrorSuccess);
    }
    EXPECT_EQ(QueuedMessageBox(u"Text", u"Caption", c.type), c.answer);
    EXPECT_TRUE(QueuedAnswers().empty());  // the queued answer is used up either way
    EXPECT_EQ(device.Device().Journal().Lines(), std::vector<std::string>{"000001 " + c.journal});
  }
}

}  // namespace
}  // namespace platform
