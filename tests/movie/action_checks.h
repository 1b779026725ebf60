#pragma once

// Structural checks of an AVM1 action block: every record inside the block, the block ending in
// End, Push operands that parse and name only constants the pool holds, branches that land on an
// action inside their function, and function bodies that end on an action boundary.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <variant>

#include "swf_reader.h"

namespace swf_reader {

// A value pushed by Push: an index into the constant pool, an integer, or anything else.
struct PoolIndex {
    std::size_t index;
};
using PushedValue = std::variant<std::monostate, PoolIndex, std::int32_t>;

inline std::vector<PushedValue> PushedValues(std::string_view operands) {
    Bytes bytes(operands);
    std::vector<PushedValue> values;
    while (bytes.left() > 0) {
        switch (bytes.U8()) {
            case 0:
                bytes.String();
                values.emplace_back();
                break;  // string
            case 1:
                bytes.Skip(4);
                values.emplace_back();
                break;  // float
            case 2:
            case 3:
                values.emplace_back();
                break;  // null, undefined
            case 4:
            case 5:
                bytes.Skip(1);
                values.emplace_back();
                break;  // register, boolean
            case 6:
                bytes.Skip(8);
                values.emplace_back();
                break;  // double
            case 7:
                values.emplace_back(static_cast<std::int32_t>(bytes.U32()));
                break;
            case 8:
                values.emplace_back(PoolIndex{bytes.U8()});
                break;
            case 9:
                values.emplace_back(PoolIndex{bytes.U16()});
                break;
            default:
                throw Malformed("unknown Push value type");
        }
    }
    return values;
}

inline std::size_t PushedConstantsOutOfPool(std::string_view operands, std::size_t poolSize) {
    std::size_t bad = 0;
    for (const PushedValue& value : PushedValues(operands)) {
        const auto* constant = std::get_if<PoolIndex>(&value);
        bad += constant != nullptr && constant->index >= poolSize;
    }
    return bad;
}

inline void ExpectWellFormedActions(std::string_view block, const std::string& where) {
    SCOPED_TRACE(where);
    std::vector<Action> actions;
    ASSERT_NO_THROW(actions = ReadActions(block));
    ASSERT_FALSE(actions.empty());

    std::size_t poolSize = 0;
    if (actions.front().code == 0x88) {
        Bytes pool(actions.front().operands);
        poolSize = pool.U16();
        for (std::size_t i = 0; i < poolSize; ++i) pool.String();
        EXPECT_EQ(pool.left(), 0u) << "ConstantPool length";
    }

    std::set<std::size_t> boundaries;
    for (const Action& action : actions) boundaries.insert(action.offset);
    const std::size_t blockEnd = block.size();
    boundaries.insert(blockEnd);

    // Function bodies, as [start, end) in the block.
    std::vector<std::pair<std::size_t, std::size_t>> functions;
    for (const Action& action : actions) {
        if (action.code != 0x9B) continue;
        Bytes define(action.operands);
        define.String();
        const std::uint16_t parameters = define.U16();
        for (std::uint16_t i = 0; i < parameters; ++i) define.String();
        const std::size_t start = action.offset + 3 + action.operands.size();
        const std::size_t end = start + define.U16();
        EXPECT_EQ(define.left(), 0u) << "DefineFunction at " << action.offset;
        EXPECT_TRUE(boundaries.count(end))
            << "function at " << action.offset << " ends inside an action";
        functions.emplace_back(start, end);
    }
    auto innermostFunction = [&](std::size_t offset) {
        std::pair<std::size_t, std::size_t> found{0, blockEnd};
        for (const auto& range : functions) {
            if (range.first <= offset && offset < range.second &&
                range.second - range.first < found.second - found.first) {
                found = range;
            }
        }
        return found;
    };

    for (const Action& action : actions) {
        if (action.code == 0x96) {
            EXPECT_EQ(PushedConstantsOutOfPool(action.operands, poolSize), 0u)
                << "Push at " << action.offset;
        }
        if (action.code == 0x99 || action.code == 0x9D) {  // Jump, If
            ASSERT_EQ(action.operands.size(), 2u);
            Bytes operand(action.operands);
            const auto delta = static_cast<std::int16_t>(operand.U16());
            const auto target = static_cast<std::ptrdiff_t>(action.offset + 5) + delta;
            const auto [start, end] = innermostFunction(action.offset);
            EXPECT_TRUE(target >= 0 && boundaries.count(static_cast<std::size_t>(target)))
                << "branch at " << action.offset << " lands inside an action";
            EXPECT_TRUE(target >= static_cast<std::ptrdiff_t>(start) &&
                        target <= static_cast<std::ptrdiff_t>(end))
                << "branch at " << action.offset << " leaves its function";
        }
        if (action.code == 0x9A) {
            EXPECT_EQ(action.operands.size(), 1u) << "GetURL2";
        }
    }
}

}  // namespace swf_reader
