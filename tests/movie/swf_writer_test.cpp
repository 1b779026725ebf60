// The generator's building blocks, read back with the independent reader: bit fields, RECT, tag
// headers at the short/long boundary, and the assembler's pool, branches and function bodies.
#include <gtest/gtest.h>

#include <stdexcept>

#include "action_assembler.h"
#include "action_checks.h"
#include "byte_writer.h"
#include "swf_file.h"
#include "swf_reader.h"

namespace {

using bannermovie::ActionAssembler;
using bannermovie::ActionCode;
using bannermovie::BitWriter;

TEST(BitFields, SignedAndUnsignedFieldsReadBackAcrossByteBoundaries) {
    EXPECT_EQ(BitWriter::SignedBitsFor(0), 1);
    EXPECT_EQ(BitWriter::SignedBitsFor(-1), 1);
    EXPECT_EQ(BitWriter::SignedBitsFor(1), 2);
    EXPECT_EQ(BitWriter::SignedBitsFor(9360), 15);
    EXPECT_EQ(BitWriter::SignedBitsFor(-9360), 15);

    BitWriter out;
    out.Unsigned(5, 3);
    out.Signed(-9360, 15);
    out.Signed(2000, 13);
    out.Flag(true);
    const std::string bytes = out.Finish();
    EXPECT_EQ(bytes.size(), 4u) << "32 bits, no padding byte";

    swf_reader::Bytes in(bytes);
    swf_reader::Bits bits(in);
    EXPECT_EQ(bits.Unsigned(3), 5u);
    EXPECT_EQ(bits.Signed(15), -9360);
    EXPECT_EQ(bits.Signed(13), 2000);
    EXPECT_EQ(bits.Unsigned(1), 1u);

    BitWriter tooNarrow;
    EXPECT_THROW(tooNarrow.Signed(4, 3), std::out_of_range);
    EXPECT_THROW(tooNarrow.Unsigned(8, 3), std::out_of_range);
}

TEST(Rect, NegativeAndLargeCoordinatesReadBack) {
    const bannermovie::Rect rect{-20, 9360, -1, 2000};
    const std::string bytes = bannermovie::EncodeRect(rect);
    swf_reader::Bytes in(bytes);
    const swf_reader::Rect back = swf_reader::ReadRect(in);
    EXPECT_EQ(back.xMin, -20);
    EXPECT_EQ(back.xMax, 9360);
    EXPECT_EQ(back.yMin, -1);
    EXPECT_EQ(back.yMax, 2000);
    EXPECT_EQ(in.left(), 0u);
}

TEST(TagHeader, SwitchesToTheLongFormAt63Bytes) {
    for (std::size_t length : {0u, 62u, 63u, 300u}) {
        SCOPED_TRACE(length);
        const std::string body(length, 'x');
        const std::string tag = bannermovie::EncodeTag(bannermovie::TagCode::DoAction, body) +
                                bannermovie::EncodeTag(bannermovie::TagCode::End, {});
        EXPECT_EQ(tag.size(), length + (length < 63 ? 2 : 6) + 2);
        swf_reader::Bytes in(tag);
        const auto tags = swf_reader::ReadTags(in);
        ASSERT_EQ(tags.size(), 2u);
        EXPECT_EQ(tags[0].code, 12);
        EXPECT_EQ(tags[0].body, body);
    }
}

TEST(ActionAssembler, PoolsStringsJoinsPushesAndResolvesBranchesBothWays) {
    ActionAssembler a;
    const auto top = a.NewLabel();
    const auto end = a.NewLabel();
    a.Bind(top);
    a.Push({std::string("same"), 1, true, bannermovie::Undefined{}});
    a.Push({std::string("same"), std::string("other")});  // joins the one before
    a.If(end);                                            // forward
    a.BeginFunction("f", {"x", "y"});
    a.GetVariable("x");
    a.Push({std::string("x")});
    a.EndFunction();
    a.Push({2});  // after the body, so not in it
    a.Bind(end);
    a.Push({3});  // a branch lands on it
    a.Jump(top);  // backward
    const std::string block = a.Finish();
    swf_reader::ExpectWellFormedActions(block, "assembled block");

    const auto actions = swf_reader::ReadActions(block);
    std::vector<std::uint8_t> codes;
    codes.reserve(actions.size());
    for (const auto& action : actions) codes.push_back(action.code);
    EXPECT_EQ(codes, (std::vector<std::uint8_t>{0x88, 0x96, 0x9D, 0x9B, 0x96, 0x1C, 0x96, 0x96,
                                                0x96, 0x99, 0x00}));
    swf_reader::Bytes pool(actions.front().operands);
    EXPECT_EQ(pool.U16(), 3) << "\"same\", \"other\" and \"x\"";
    EXPECT_EQ(actions[1].operands.size(), 2 + 5 + 2 + 1 + 2 + 2u) << "six values in one Push";
    // The If lands on the last Push, the Jump on the first.
    auto target = [](const swf_reader::Action& branch) {
        swf_reader::Bytes operand(branch.operands);
        return static_cast<std::ptrdiff_t>(branch.offset + 5) +
               static_cast<std::int16_t>(operand.U16());
    };
    EXPECT_EQ(target(actions[2]), static_cast<std::ptrdiff_t>(actions[8].offset));
    EXPECT_EQ(target(actions[9]), static_cast<std::ptrdiff_t>(actions[1].offset));
}

TEST(ActionAssembler, RefusesUnfinishedBlocks) {
    ActionAssembler unboundLabel;
    unboundLabel.Jump(unboundLabel.NewLabel());
    EXPECT_THROW(unboundLabel.Finish(), std::logic_error);

    ActionAssembler openFunction;
    openFunction.BeginFunction("f", {});
    EXPECT_THROW(openFunction.Finish(), std::logic_error);

    ActionAssembler misuse;
    EXPECT_THROW(misuse.Emit(ActionCode::Push), std::logic_error);
    EXPECT_THROW(misuse.EndFunction(), std::logic_error);
}

}  // namespace
