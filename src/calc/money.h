#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace recibo {

// An amount of pesos held as a whole count of ten-thousandths of a peso.
// Sums and differences are exact. The only ways to make money are a whole
// amount, a count of ten-thousandths and the conversion of a double-precision
// product (a percentage being one).
class Money {
public:
    constexpr Money() = default;

    static constexpr Money fromUnits(std::int64_t tenThousandths) { return Money(tenThousandths); }
    static constexpr Money whole(std::int64_t pesos) { return Money(pesos * kUnitsPerPeso); }

    // A product computed in double precision becomes money once: multiplied by
    // 10000 and rounded to the nearest whole count, ties to the even one.
    static Money fromDouble(double value);

    constexpr std::int64_t units() const { return units_; }
    double toDouble() const { return static_cast<double>(units_) / kUnitsPerPeso; }

    // pct % of this amount as the pay rules write it: the amount times the
    // whole percentage, divided by 100, in double precision, then converted
    // like any product.
    Money percent(int pct) const { return fromDouble(toDouble() * pct / 100); }

    constexpr Money operator+(Money other) const { return Money(units_ + other.units_); }
    constexpr Money operator-(Money other) const { return Money(units_ - other.units_); }
    constexpr Money &operator+=(Money other)
    {
        units_ += other.units_;
        return *this;
    }
    constexpr Money &operator-=(Money other)
    {
        units_ -= other.units_;
        return *this;
    }
    constexpr auto operator<=>(const Money &) const = default;

    static constexpr std::int64_t kUnitsPerPeso = 10000;

private:
    constexpr explicit Money(std::int64_t units) : units_(units) {}
    std::int64_t units_ = 0;
};

// The money text: shortest decimal form, no grouping, no trailing zeros, no
// separator when whole, at most four decimals, leading "-" when negative.
std::string moneyText(Money amount, std::string_view decimalSeparator);

// The money text added to the end of `out`, without a string of its own.
void appendMoneyText(std::string &out, Money amount, std::string_view decimalSeparator);

// What an amount column shows: "$ " and the money text.
std::string amountText(Money amount, std::string_view decimalSeparator);

// Row 001 alone writes the sign straight against the figure: "$611,73".
std::string basicAmountText(Money amount, std::string_view decimalSeparator);

} // namespace recibo
