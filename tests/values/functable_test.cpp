#include "values/functable.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "values/params.h"

using namespace vesk;

// Compiled pages store calls by index, so a shifted entry breaks every page.
TEST(FunctionTable, EntriesSitAtTheirIndices) {
    struct TEntry {
        int Index;
        const char* Name;
        int Min, Max;
        std::uint8_t Result;
    };
    const TEntry entries[] = {
        {0, "IntToStr", 1, 2, PT_STR},         {2, "GetProp", 2, 2, PT_STR},
        {4, "GetArraySize", 1, 2, PT_INT},     {19, "Exists", 1, 1, PT_BOOL},
        {21, "SetArray", 2, -1, PT_INT},       {30, "IndexOfStr", 2, 4, PT_INT},
        {38, "Float", 1, 1, PT_FLOAT},         {45, "ArcTan2", 2, 2, PT_FLOAT},
        {48, "Abs", 1, 1, PT_INT},             {53, "DecodeDate", 4, 4, PT_INT},
        {65, "GetDisplayMode", 5, 5, PT_BOOL}, {84, "AssignTemp", 1, 1, PT_BOOL},
        {87, "DBCreateTable", 2, 2, PT_BOOL},  {91, "DBInsert", 0, -1, PT_BOOL},
        {92, "DBDelete", 0, 0, PT_BOOL},       {108, "DBDirectGetInt", 7, 7, PT_INT},
        {114, "DBDirectGetStr", 7, 7, PT_STR}, {122, "DBGetActive", 0, 0, PT_STR},
        {126, "Min", 2, 2, PT_INT},            {127, "Max", 2, 2, PT_INT},
        {128, "Fmin", 2, 2, PT_FLOAT},         {134, "ListSaveCaption", 0, 2, PT_INT},
        {136, "Calc", 1, 1, PT_STR},           {137, "SaveScreen", 1, 5, PT_BOOL},
        {139, "StrToFloatDef", 2, 2, PT_FLOAT}, {151, "ExtractFile", 1, 3, PT_BOOL},
        {152, "Chr", 1, 1, PT_STR},            {153, "Ord", 1, 1, PT_INT},
        {154, "InCabinet", 1, 1, PT_BOOL},
    };
    ASSERT_EQ(kFunctionCount, 155);
    for (const auto& e : entries) {
        SCOPED_TRACE(e.Name);
        const TFuncInfo& f = kFunctionTable[e.Index];
        EXPECT_STREQ(f.Name, e.Name);
        EXPECT_EQ(f.MinArgs, e.Min);
        EXPECT_EQ(f.MaxArgs, e.Max);
        EXPECT_EQ(f.ResultKind, e.Result);
        EXPECT_EQ(FindFunction(e.Name), e.Index);
    }

    std::set<std::string> names;
    for (const auto& f : kFunctionTable) {
        names.insert(f.Name);
        EXPECT_TRUE(f.ResultKind >= PT_INT && f.ResultKind <= PT_STR) << f.Name;
        EXPECT_TRUE(f.MaxArgs == -1 || f.MaxArgs >= f.MinArgs) << f.Name;
    }
    EXPECT_EQ(names.size(), 155u);  // no name twice
}

TEST(FunctionTable, LookupIsExactAndCountsAreChecked) {
    EXPECT_EQ(FindFunction("length"), -1);
    EXPECT_EQ(FindFunction("Length "), -1);
    EXPECT_EQ(FindFunction(""), -1);
    EXPECT_EQ(FindFunction("Length"), 5);

    const int copy = FindFunction("Copy");  // 2 … 3
    EXPECT_FALSE(FunctionAcceptsArgs(copy, 1));
    EXPECT_TRUE(FunctionAcceptsArgs(copy, 2));
    EXPECT_TRUE(FunctionAcceptsArgs(copy, 3));
    EXPECT_FALSE(FunctionAcceptsArgs(copy, 4));
    const int setArray = FindFunction("SetArray");  // 2 … no maximum
    EXPECT_FALSE(FunctionAcceptsArgs(setArray, 1));
    EXPECT_TRUE(FunctionAcceptsArgs(setArray, 200));
    EXPECT_FALSE(FunctionAcceptsArgs(-1, 0));
    EXPECT_FALSE(FunctionAcceptsArgs(155, 1));
}
