// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/songlist/exchange_order.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "support/song_list_reference.h"

namespace songloader {
namespace {

void ExpectSameOrder(const std::vector<std::uint32_t>& keys) {
    ASSERT_EQ(ExchangeOrder(keys), LiteralExchangeOrder(keys)) << "n=" << keys.size();
}

TEST(ExchangeOrder, SmallCasesWorkedByHand) {
    EXPECT_TRUE(ExchangeOrder({}).empty());
    EXPECT_EQ(ExchangeOrder(std::vector<std::uint32_t>{7}), (std::vector<std::uint32_t>{0}));
    // 2a 2b 1: the smaller element swaps with 2a, which lands behind 2b.
    EXPECT_EQ(ExchangeOrder(std::vector<std::uint32_t>{2, 2, 1}), (std::vector<std::uint32_t>{2, 1, 0}));
    // 2a 1 2b: 2a keeps its place before 2b.
    EXPECT_EQ(ExchangeOrder(std::vector<std::uint32_t>{2, 1, 2}), (std::vector<std::uint32_t>{1, 0, 2}));
    // Equal keys alone stay in input order.
    EXPECT_EQ(ExchangeOrder(std::vector<std::uint32_t>{5, 5, 5, 5}), (std::vector<std::uint32_t>{0, 1, 2, 3}));
}

TEST(ExchangeOrder, MatchesTheLiteralProcedureOnTieHeavyArrays) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 30000; ++round) {
        const std::size_t n = rng() % 14;
        const std::uint32_t distinct = 1 + rng() % 4;
        std::vector<std::uint32_t> keys(n);
        for (auto& k : keys) k = rng() % distinct;
        ExpectSameOrder(keys);
    }
}

TEST(ExchangeOrder, MatchesTheLiteralProcedureOnLongerArrays) {
    std::mt19937 rng(7);
    for (int round = 0; round < 300; ++round) {
        const std::size_t n = 50 + rng() % 400;
        const std::uint32_t distinct = 1 + rng() % 12;
        std::vector<std::uint32_t> keys(n);
        for (auto& k : keys) k = rng() % distinct * 14348907u;
        ExpectSameOrder(keys);
    }
}

TEST(ExchangeOrder, MatchesTheLiteralProcedureOnLongArraysWithWideKeys) {
    std::mt19937 rng(99);
    for (int round = 0; round < 6; ++round) {
        const std::size_t n = 1024 + rng() % 3000;
        std::vector<std::uint32_t> pool(1 + rng() % 40);
        for (auto& k : pool) k = static_cast<std::uint32_t>(rng());
        std::vector<std::uint32_t> keys(n);
        for (auto& k : keys) k = pool[rng() % pool.size()];
        ExpectSameOrder(keys);
    }
}

TEST(ExchangeOrder, MatchesTheLiteralProcedureOnSortedAndReversedRuns) {
    std::vector<std::uint32_t> rising;
    std::vector<std::uint32_t> falling;
    for (std::uint32_t i = 0; i < 200; ++i) {
        rising.push_back(i / 3);
        falling.push_back((200 - i) / 3);
    }
    ExpectSameOrder(rising);
    ExpectSameOrder(falling);
    std::vector<std::uint32_t> zigzag;
    for (std::uint32_t i = 0; i < 200; ++i) zigzag.push_back(i % 2 == 0 ? 1 : i % 5);
    ExpectSameOrder(zigzag);
    ExpectSameOrder({0xFFFFFFFFu, 0, 0xFFFFFFFFu, 0, 0xFFFFFFFEu, 0xFFFFFFFFu});
}

}  // namespace
}  // namespace songloader
