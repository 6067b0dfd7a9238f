// The frame's common checks and the identity, operation and utility members.
#include <thread>

#include "core/driver_fixture.h"

namespace zpv::driver::test {
namespace {

using FrameTest = DriverTest;
using InherentTest = DriverTest;

TEST_F(FrameTest, SessionMembersNeedInitializeAndLeaveTheirOutputAlone) {
    BSTR model = reinterpret_cast<BSTR>(0x1);  // must not be touched
    EXPECT_EQ(identity->get_InstrumentModel(&model), Hr(0x8004701D));
    EXPECT_EQ(model, reinterpret_cast<BSTR>(0x1));
    EXPECT_EQ(LastError(), "ZPV4870: A connection to the instrument has not been established.");
    CComBSTR groups;
    EXPECT_EQ(identity->get_GroupCapabilities(&groups), Hr(0x8004701D));

    // The driver's own identity needs no session.
    EXPECT_EQ(Text(&IIviDriverIdentity::get_Description), "IVI Driver for ZPV4870");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_Revision), "1.0.0.0");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_Vendor), "Kaltrix");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_Identifier), "ZPV4870");
    EXPECT_EQ(Text(&IIviDriverIdentity::get_SupportedInstrumentModels).substr(0, 35),
              "ZPV-4803-Advanced,ZPV-4809-Advanced");
    LONG major = 0, minor = 0;
    EXPECT_EQ(identity->get_SpecificationMajorVersion(&major), S_OK);
    EXPECT_EQ(identity->get_SpecificationMinorVersion(&minor), S_OK);
    EXPECT_EQ(major * 10 + minor, 12);
}

TEST_F(FrameTest, NullOutPointerNamesMethodAndParameter) {
    EXPECT_EQ(identity->get_Identifier(nullptr), Hr(0x80047058));
    const auto published = errors::test::TakeErrorInfo();
    EXPECT_EQ(published.description, "ZPV4870: Null pointer passed for method 'get_Identifier', parameter 'val'.");
    EXPECT_EQ(published.guid, IID_IIviDriverIdentity);

    ASSERT_EQ(Init(L"Simulate=true"), S_OK);
    CComBSTR message;
    EXPECT_EQ(utility->SelfTest(nullptr, &message), Hr(0x80047058));
    EXPECT_EQ(LastError(), "ZPV4870: Null pointer passed for method 'SelfTest', parameter 'TestResult'.");
}

TEST_F(FrameTest, EachCallStartsWithoutEarlierErrorInformation) {
    EXPECT_EQ(driver->Close(), Hr(0x8004701D));
    CComBSTR vendor;
    EXPECT_EQ(identity->get_Vendor(&vendor), S_OK);
    EXPECT_FALSE(errors::test::TakeErrorInfo().present);
}

TEST_F(FrameTest, ErrorInformationStaysOnTheCallingThread) {
    EXPECT_EQ(driver->Close(), Hr(0x8004701D));
    bool seenElsewhere = true;
    std::thread([&] { seenElsewhere = errors::test::TakeErrorInfo().present; }).join();
    EXPECT_FALSE(seenElsewhere);
    EXPECT_TRUE(errors::test::TakeErrorInfo().present);
}

TEST_F(FrameTest, ErrorInfoIsSupportedOnTheDriverInterfacesOnly) {
    CComPtr<ISupportErrorInfo> support;
    ASSERT_EQ(driver->QueryInterface(&support), S_OK);
    for (const IID* iid : {&IID_IIviDriver, &IID_IZPV4870, &IID_IIviDriverUtility, &IID_IZPV4870StepMode, &IID_IIviACPwr})
        EXPECT_EQ(support->InterfaceSupportsErrorInfo(*iid), S_OK);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IZPV4870OutputPhase), S_FALSE);
    EXPECT_EQ(support->InterfaceSupportsErrorInfo(IID_IErrorInfo), S_FALSE);
}

TEST_F(InherentTest, SubInterfaceGettersReturnTheSameObject) {
    CComPtr<IIviDriverOperation> op;
    ASSERT_EQ(driver->get_DriverOperation(&op), S_OK);
    EXPECT_EQ(op.Get(), operation.Get());
    CComPtr<IIviDriverIdentity> id;
    ASSERT_EQ(driver->get_Identity(&id), S_OK);
    EXPECT_EQ(id.Get(), identity.Get());
    CComPtr<IUnknown> a, b;
    ASSERT_EQ(id->QueryInterface(&a), S_OK);
    ASSERT_EQ(driver->QueryInterface(&b), S_OK);
    EXPECT_EQ(a.Get(), b.Get());
}

TEST_F(InherentTest, SimulationStateCannotBeDroppedButOtherFlagsChange) {
    ASSERT_EQ(Init(L"Simulate=true"), S_OK);
    EXPECT_EQ(operation->put_Simulate(VARIANT_FALSE), Hr(0x80047062));
    EXPECT_EQ(LastError(), "ZPV4870: The simulation state cannot be changed.");
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_Simulate));

    EXPECT_EQ(operation->put_InterchangeCheck(VARIANT_TRUE), Hr(0x80047013));
    EXPECT_EQ(LastError(),
              "ZPV4870: Does not support this class-compliant feature: Enumeration value 'VARIANT_TRUE' passed as "
              "the value for parameter 'val' in method 'put_InterchangeCheck'.");
    EXPECT_EQ(operation->put_InterchangeCheck(VARIANT_FALSE), S_OK);

    EXPECT_EQ(operation->put_RangeCheck(VARIANT_FALSE), S_OK);
    EXPECT_EQ(operation->put_Cache(VARIANT_FALSE), S_OK);
    EXPECT_EQ(operation->put_QueryInstrumentStatus(VARIANT_TRUE), S_OK);
    EXPECT_EQ(utility->ResetWithDefaults(), S_OK);
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_RangeCheck));
    EXPECT_TRUE(Flag(&IIviDriverOperation::get_Cache));
    EXPECT_FALSE(Flag(&IIviDriverOperation::get_QueryInstrumentStatus));
}

TEST_F(InherentTest, UtilityInSimulation) {
    ASSERT_EQ(Init(L"Simulate=true, RecordCoercions=true"), S_OK);
    LONG result = -1;
    CComBSTR message(L"stale text the member frees");
    EXPECT_EQ(utility->SelfTest(&result, &message), S_OK);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(com::Utf8FromBstr(message), "Selftest passed");

    LONG code = -1;
    CComBSTR error;
    EXPECT_EQ(utility->ErrorQuery(&code, &error), S_OK);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(com::Utf8FromBstr(error), "No error.");

    EXPECT_EQ(utility->Reset(), S_OK);
    EXPECT_EQ(utility->Disable(), S_OK);
    EXPECT_EQ(utility->LockObject(), Hr(0x80047011));
    EXPECT_EQ(LastError(), "ZPV4870: Does not support this class-compliant feature: method 'LockObject'.");

    CComBSTR record;
    EXPECT_EQ(operation->GetNextCoercionRecord(&record), S_OK);
    EXPECT_EQ(com::Utf8FromBstr(record), "");
    CComBSTR warning;
    EXPECT_EQ(operation->GetNextInterchangeWarning(&warning), Hr(0x80047011));
    EXPECT_EQ(warning.Get(), nullptr);
    EXPECT_EQ(operation->InvalidateAllAttributes(), S_OK);
}

}  // namespace
}  // namespace zpv::driver::test
