#import <AVFAudio/AVFAudio.h>
#import <CoreMedia/CoreMedia.h>
