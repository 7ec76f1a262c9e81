// A stand-in for a copy of the game that finishes games: it writes scores
// through SettingsRecordsStore exactly as the game does, so that
// tools/records_stress.py can kill it in the middle of a write or run two of
// it at once.
//
//   records_writer FILE read                 prints "A B", the scores as read
//   records_writer FILE write A|B SCORE      prints "ready" just before the
//                                            write and "done" after it
//   records_writer FILE race A|B ROUNDS      writes 1, 2, ... ROUNDS; after
//                                            each write checks that its own
//                                            score is there and that the other
//                                            variant's never went back; ends
//                                            with "written W refused R last L"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "records/settings_records_store.h"

namespace {

using pellox::RecordsWriteError;
using pellox::SettingsRecordsStore;
using pellox::Variant;

int Usage() {
    std::fprintf(stderr, "usage: records_writer FILE read | write A|B SCORE | race A|B ROUNDS\n");
    return 64;
}

bool ParseVariant(const char* text, Variant& variant) {
    if (std::strcmp(text, "A") == 0) variant = Variant::A;
    else if (std::strcmp(text, "B") == 0) variant = Variant::B;
    else return false;
    return true;
}

// One write; a refusal is part of the result, not a failure of the program.
bool Write(SettingsRecordsStore& store, Variant variant, std::uint16_t score, std::string& message) {
    try {
        store.WriteRecord(variant, score);
        return true;
    } catch (const RecordsWriteError& e) {
        message = e.what();
        return false;
    }
}

int Race(SettingsRecordsStore& store, Variant own, int rounds) {
    const Variant other = own == Variant::A ? Variant::B : Variant::A;
    std::uint16_t other_seen = store.ReadRecord(other);
    int refused = 0, last = 0;
    for (int score = 1; score <= rounds; ++score) {
        std::string message;
        if (!Write(store, own, static_cast<std::uint16_t>(score), message)) {
            ++refused;
            std::printf("refused: %s\n", message.c_str());
            continue;
        }
        const std::uint16_t own_now = store.ReadRecord(own), other_now = store.ReadRecord(other);
        if (own_now != score) {
            std::printf("lost: wrote %d, read back %u\n", score, own_now);
            return 1;
        }
        if (other_now < other_seen) {
            std::printf("lost: the other score went back from %u to %u\n", other_seen, other_now);
            return 1;
        }
        other_seen = other_now;
        last = score;
        // A short pause of a varying length, so that the two writers meet at
        // every point of each other's write.
        std::this_thread::sleep_for(std::chrono::microseconds((score * 7919) % 3000));
    }
    std::printf("written %d refused %d last %d\n", rounds - refused, refused, last);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Usage();
    SettingsRecordsStore store(QString::fromLocal8Bit(argv[1]));
    const std::string command = argv[2];
    Variant variant = Variant::A;
    if (command == "read" && argc == 3) {
        std::printf("%u %u\n", store.ReadRecord(Variant::A), store.ReadRecord(Variant::B));
        return 0;
    }
    if (argc != 5 || !ParseVariant(argv[3], variant)) return Usage();
    const int number = std::atoi(argv[4]);
    if (command == "write") {
        std::printf("ready\n");
        std::fflush(stdout);
        std::string message;
        if (!Write(store, variant, static_cast<std::uint16_t>(number), message)) {
            std::printf("refused: %s\n", message.c_str());
            return 2;
        }
        std::printf("done\n");
        return 0;
    }
    if (command == "race" && number > 0 && number <= 9999) {
        std::setvbuf(stdout, nullptr, _IOLBF, 0);
        return Race(store, variant, number);
    }
    return Usage();
}
