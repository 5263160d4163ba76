#include "tests/fuzz/line_assembly_model.h"

namespace qdax_fuzz {

namespace {

struct StreamByte {
    char value;
    std::size_t read;
};

// A line of the stream, between two cuts. A line longer than the limit goes out in full pieces:
// each piece but the last is delivered by the read that brings the first byte of the next one.
class LineCutter {
public:
    LineCutter(std::size_t maxLineLength, ModelOutcome& outcome)
        : maxLineLength_(maxLineLength), outcome_(outcome) {}

    void Add(StreamByte byte) { segment_.push_back(byte); }

    // A line end delivers the line even when it is empty; a cut by idleness only a non-empty one.
    void Cut(std::size_t read, bool evenWhenEmpty) {
        if (segment_.empty()) {
            if (evenWhenEmpty) outcome_.lines.push_back({read, ""});
            return;
        }
        const std::size_t last = DeliverFullPieces();
        outcome_.lines.push_back({read, Text(last, segment_.size())});
        segment_.clear();
    }

    void Finish() {
        if (segment_.empty()) {
            outcome_.pendingLength = 0;
            return;
        }
        outcome_.pendingLength = segment_.size() - DeliverFullPieces();
    }

private:
    // Delivers every piece that a later byte pushed out; returns where the last piece starts.
    std::size_t DeliverFullPieces() {
        std::size_t start = 0;
        while (segment_.size() - start > maxLineLength_) {
            const std::size_t next = start + maxLineLength_;
            outcome_.lines.push_back({segment_[next].read, Text(start, next)});
            start = next;
        }
        return start;
    }

    std::string Text(std::size_t from, std::size_t to) const {
        std::string text;
        for (std::size_t i = from; i < to; ++i) text.push_back(segment_[i].value);
        return text;
    }

    std::size_t maxLineLength_;
    ModelOutcome& outcome_;
    std::vector<StreamByte> segment_;
};

}  // namespace

ModelOutcome ExpectedLines(const std::vector<std::string>& reads, std::size_t maxLineLength) {
    ModelOutcome outcome{{}, 0};
    LineCutter cutter(maxLineLength, outcome);
    for (std::size_t r = 0; r < reads.size(); ++r) {
        const std::string& bytes = reads[r];
        if (bytes.empty()) {
            // Idle is the state left by an empty read; only an empty read meeting it cuts.
            if (r > 0 && reads[r - 1].empty()) cutter.Cut(r, false);
            continue;
        }
        for (const char c : bytes) {
            if (c == '\0') break;
            if (c == '\r' || c == '\n') {
                cutter.Cut(r, true);
            } else {
                cutter.Add({c, r});
            }
        }
    }
    cutter.Finish();
    return outcome;
}

}  // namespace qdax_fuzz
