// Acceptors for the number syntaxes the input engine reads: each is fed one character at a time
// and says whether that character still continues a number.
#pragma once

#include <cstdint>

namespace zpv::io {

// Decimal reals as the C library writes them: sign, digits, point, exponent.
class RealSyntax {
public:
    bool Accept(char c) {
        const bool digit = c >= '0' && c <= '9';
        const bool sign = c == '+' || c == '-';
        const bool exponent = c == 'e' || c == 'E';
        switch (state_) {
            case State::Start:
                return Move(sign       ? State::Sign
                            : digit    ? State::Whole
                            : c == '.' ? State::BarePoint
                                       : state_,
                            sign || digit || c == '.');
            case State::Sign: return Move(digit ? State::Whole : State::BarePoint, digit || c == '.');
            case State::Whole:
                return Move(digit      ? State::Whole
                            : c == '.' ? State::Fraction
                                       : State::Exponent,
                            digit || c == '.' || exponent);
            case State::BarePoint: return Move(State::Fraction, digit);
            case State::Fraction: return Move(digit ? State::Fraction : State::Exponent, digit || exponent);
            case State::Exponent: return Move(digit ? State::ExponentDigits : State::ExponentSign, digit || sign);
            case State::ExponentSign:
            case State::ExponentDigits: return Move(State::ExponentDigits, digit);
        }
        return false;
    }
    bool HasDigits() const { return state_ != State::Start && state_ != State::Sign && state_ != State::BarePoint; }

private:
    enum class State : std::uint8_t { Start, Sign, Whole, BarePoint, Fraction, Exponent, ExponentSign, ExponentDigits };
    bool Move(State next, bool accepted) {
        if (accepted) state_ = next;
        return accepted;
    }
    State state_ = State::Start;
};

// Integers in base 10, 8, 16 (optional "0x") or 2, with an optional IEEE 488.2 prefix such as
// "#H" when formLetter is given. The prefix itself is not part of the digits.
class IntegerSyntax {
public:
    IntegerSyntax(unsigned base, char formLetter) : base_(base), formLetter_(formLetter) {}

    // prefix is set when c belongs to "#H"/"0x" rather than to the value.
    bool Accept(char c, bool& prefix) {
        prefix = false;
        switch (state_) {
            case State::Start:
                if (c == '+' || c == '-') return Move(State::Sign);
                [[fallthrough]];
            case State::Sign:
                if (formLetter_ && c == '#') return prefix = true, Move(State::Hash);
                if (base_ == 16 && c == '0') return Move(State::LeadingZero);
                return IsDigit(c) && Move(State::Digits);
            case State::Hash:
                return (c == formLetter_ || c == formLetter_ + ('a' - 'A')) &&
                       (prefix = true, Move(State::AfterPrefix));
            case State::LeadingZero:
                if (c == 'x' || c == 'X') return prefix = true, Move(State::AfterPrefix);
                return IsDigit(c) && Move(State::Digits);
            case State::AfterPrefix:
            case State::Digits: return IsDigit(c) && Move(State::Digits);
        }
        return false;
    }
    bool HasDigits() const { return state_ == State::Digits || state_ == State::LeadingZero; }

private:
    enum class State : std::uint8_t { Start, Sign, Hash, LeadingZero, AfterPrefix, Digits };
    bool Move(State next) {
        state_ = next;
        return true;
    }
    bool IsDigit(char c) const {
        unsigned value;
        if (c >= '0' && c <= '9') {
            value = static_cast<unsigned>(c - '0');
        } else if (c >= 'a' && c <= 'f') {
            value = static_cast<unsigned>(c - 'a' + 10);
        } else if (c >= 'A' && c <= 'F') {
            value = static_cast<unsigned>(c - 'A' + 10);
        } else {
            return false;
        }
        return value < base_;
    }

    unsigned base_;
    char formLetter_;
    State state_ = State::Start;
};

}  // namespace zpv::io
