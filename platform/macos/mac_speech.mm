#include "platform/macos/mac_speech.h"

#import <AVFoundation/AVFoundation.h>
#import <Foundation/Foundation.h>
#import <Speech/Speech.h>
#include <dlfcn.h>
#include <objc/message.h>

#include <cstring>

#include "platform/macos/cf_text.h"
#include "platform/macos/service_kits.h"

namespace tessary::macos {

namespace {

// The frameworks are opened the first time a program asks for speech, so the
// programs that never do neither link nor load them. Classes are therefore
// looked up by name, never referenced directly.
Class speechClass(NSString* name) {
  static dispatch_once_t once;
  dispatch_once(&once, ^{
    dlopen("/System/Library/Frameworks/AVFAudio.framework/AVFAudio", RTLD_LAZY | RTLD_GLOBAL);
    dlopen("/System/Library/Frameworks/Speech.framework/Speech", RTLD_LAZY | RTLD_GLOBAL);
  });
  return NSClassFromString(name);
}

std::string text(NSString* string) {
  return string ? utf8FromCFString((__bridge CFStringRef)string) : std::string();
}

class MacAudioFormat : public AudioFormat {
 public:
  explicit MacAudioFormat(AVAudioFormat* format) : format(format) {}
  AVAudioFormat* const format;
};

class MacAudioRequest : public SpeechAudioRequest {
 public:
  explicit MacAudioRequest(SFSpeechAudioBufferRecognitionRequest* request) : request(request) {}

  void setShouldReportPartialResults(bool on) override { request.shouldReportPartialResults = on; }
  // addsPunctuation came with macOS 13; the SDK we build against predates it.
  void setAddsPunctuation(bool on) override {
    SEL selector = NSSelectorFromString(@"setAddsPunctuation:");
    if (![request respondsToSelector:selector]) return;
    reinterpret_cast<void (*)(id, SEL, BOOL)>(objc_msgSend)(request, selector, on ? YES : NO);
  }
  void setRequiresOnDeviceRecognition(bool on) override {
    request.requiresOnDeviceRecognition = on;
  }

  bool appendPCMBuffer(const AudioFormat& format, const void* samples,
                       uint32_t frameCount) override {
    // The reading thread has no run loop to drain autoreleased objects; one
    // pool per chunk keeps memory flat on a long dictation.
    @autoreleasepool {
      AVAudioFormat* pcmFormat = static_cast<const MacAudioFormat&>(format).format;
      AVAudioPCMBuffer* buffer = [[speechClass(@"AVAudioPCMBuffer") alloc]
          initWithPCMFormat:pcmFormat
              frameCapacity:static_cast<AVAudioFrameCount>(frameCount)];
      if (!buffer || !buffer.int16ChannelData) return false;
      buffer.frameLength = static_cast<AVAudioFrameCount>(frameCount);
      std::memcpy(buffer.int16ChannelData[0], samples, static_cast<size_t>(frameCount) * 2);
      [request appendAudioPCMBuffer:buffer];
      return true;
    }
  }
  void endAudio() override { [request endAudio]; }

  SFSpeechAudioBufferRecognitionRequest* const request;
};

class MacRecognitionTask : public SpeechRecognitionTask {
 public:
  explicit MacRecognitionTask(SFSpeechRecognitionTask* task) : task(task) {}
  // The framework holds a running task itself; letting go of ours must stop
  // it (cancelling a finished task does nothing).
  ~MacRecognitionTask() override { [task cancel]; }
  SFSpeechRecognitionTask* const task;
};

class MacLocaleRecognizer : public LocaleSpeechRecognizer {
 public:
  explicit MacLocaleRecognizer(SFSpeechRecognizer* recognizer) : recognizer_(recognizer) {
    // Handlers default to the main queue, but the program's main thread sits
    // in read(2) on standard input and never services it: results come on a
    // serial queue of their own instead, one at a time, in order.
    queue_ = [[NSOperationQueue alloc] init];
    queue_.maxConcurrentOperationCount = 1;
    queue_.name = @"voice-scribe recognition results";
    recognizer_.queue = queue_;
  }

  bool supportsOnDeviceRecognition() override { return recognizer_.supportsOnDeviceRecognition; }

  std::shared_ptr<SpeechRecognitionTask> startTask(std::shared_ptr<SpeechAudioRequest> request,
                                                   SpeechResultHandler handler) override {
    auto* own = dynamic_cast<MacAudioRequest*>(request.get());
    if (!own || !own->request) return nullptr;
    SFSpeechRecognitionTask* task = [recognizer_
        recognitionTaskWithRequest:own->request
                     resultHandler:^(SFSpeechRecognitionResult* result, NSError* error) {
                       std::optional<SpeechRecognitionResult> converted;
                       if (result) {
                         converted = SpeechRecognitionResult{
                             text(result.bestTranscription.formattedString), result.isFinal == YES};
                       }
                       std::optional<SpeechRecognitionError> failure;
                       if (error) {
                         failure = SpeechRecognitionError{text(error.domain),
                                                          static_cast<int64_t>(error.code),
                                                          text(error.localizedDescription)};
                       }
                       handler(converted, failure);
                     }];
    if (!task) return nullptr;
    return std::make_shared<MacRecognitionTask>(task);
  }

 private:
  SFSpeechRecognizer* recognizer_;
  NSOperationQueue* queue_;
};

}  // namespace

void MacSpeechRecognizer::requestAuthorization(std::function<void(int64_t status)> completion) {
  Class recognizerClass = speechClass(@"SFSpeechRecognizer");
  if (!recognizerClass) {
    // No Speech framework: nothing can be authorized.
    completion(speechauthorization::restricted);
    return;
  }
  [recognizerClass requestAuthorization:^(SFSpeechRecognizerAuthorizationStatus status) {
    completion(static_cast<int64_t>(status));
  }];
}

std::unique_ptr<LocaleSpeechRecognizer> MacSpeechRecognizer::recognizerForLocale(
    std::string_view identifier) {
  @autoreleasepool {
    Class recognizerClass = speechClass(@"SFSpeechRecognizer");
    if (!recognizerClass) return nullptr;
    CFRef<CFStringRef> name = cfStringFromUtf8(identifier);
    if (!name.get()) return nullptr;
    NSLocale* locale = [NSLocale localeWithLocaleIdentifier:(__bridge NSString*)name.get()];
    SFSpeechRecognizer* recognizer = [[recognizerClass alloc] initWithLocale:locale];
    if (!recognizer) return nullptr;
    return std::make_unique<MacLocaleRecognizer>(recognizer);
  }
}

std::unique_ptr<AudioFormat> MacSpeechRecognizer::makeAudioFormat(int commonFormat,
                                                                  double sampleRate,
                                                                  uint32_t channels,
                                                                  bool interleaved) {
  @autoreleasepool {
    Class formatClass = speechClass(@"AVAudioFormat");
    if (!formatClass) return nullptr;
    AVAudioFormat* format =
        [[formatClass alloc] initWithCommonFormat:static_cast<AVAudioCommonFormat>(commonFormat)
                                       sampleRate:sampleRate
                                         channels:static_cast<AVAudioChannelCount>(channels)
                                      interleaved:interleaved ? YES : NO];
    if (!format) return nullptr;
    return std::make_unique<MacAudioFormat>(format);
  }
}

std::shared_ptr<SpeechAudioRequest> MacSpeechRecognizer::makeAudioBufferRequest() {
  @autoreleasepool {
    SFSpeechAudioBufferRecognitionRequest* request =
        [[speechClass(@"SFSpeechAudioBufferRecognitionRequest") alloc] init];
    return std::make_shared<MacAudioRequest>(request);
  }
}

std::unique_ptr<SpeechRecognizer> makeSpeechRecognizer() {
  return std::make_unique<MacSpeechRecognizer>();
}

}  // namespace tessary::macos
