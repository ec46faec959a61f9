#include "sync/FrameKind.h"

#include "sync/WireFormat.h"

namespace pondrel {

FrameView ClassifyFrame(std::u16string_view frame) {
    FrameView view;
    if (frame.empty()) return view;  // a code frame that matches nothing
    if (frame.substr(0, kFileFrameStart.size()) == kFileFrameStart) {
        view.kind = FrameKind::File;
        view.payload = frame.substr(kFileFrameStart.size());
        return view;
    }
    if (frame.size() >= 4 && frame[0] == u'#' && frame[1] >= u'A' && frame[1] <= u'Z' &&
        frame[2] == u'!' && frame[3] == u'#') {
        view.code = frame[1];
        view.payload = frame.substr(4);
        return view;
    }
    view.kind = FrameKind::Mail;
    view.payload = frame;
    return view;
}

std::u16string CodeFrame(char16_t code, std::u16string_view payload) {
    std::u16string frame;
    frame.reserve(4 + payload.size());
    frame += u'#';
    frame += code;
    frame += u"!#";
    frame += payload;
    return frame;
}

}  // namespace pondrel
