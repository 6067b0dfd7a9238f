#include "platform/visa/session_attribute_ids.h"

namespace zpv::visa {

namespace {

using Kind = AttributeValue::Kind;

AttributeValue Number(unsigned long long n) { return {Kind::Number, n, false, {}}; }
AttributeValue Boolean(bool b) { return {Kind::Boolean, 0, b, {}}; }
AttributeValue Text(std::string t) { return {Kind::Text, 0, false, std::move(t)}; }

struct AttributeRow {
    ViAttr id;
    AttributeValue (*read)(const MessageSession&);
    SerialAttribute serial;  // for the rows read through GetSerialAttribute
    bool isSerial;
};

constexpr AttributeRow kAttributes[] = {
    {VI_ATTR_RSRC_CLASS, [](const MessageSession& s) { return Text(s.ResourceClass()); }, {}, false},
    {VI_ATTR_RSRC_NAME, [](const MessageSession& s) { return Text(s.ResourceName()); }, {}, false},
    {VI_ATTR_SEND_END_EN, [](const MessageSession& s) { return Boolean(s.SendEndEnabled()); }, {}, false},
    {VI_ATTR_TERMCHAR, [](const MessageSession& s) { return Number(s.TermChar()); }, {}, false},
    {VI_ATTR_TMO_VALUE, [](const MessageSession& s) { return Number(s.Timeout()); }, {}, false},
    {VI_ATTR_TERMCHAR_EN, [](const MessageSession& s) { return Boolean(s.TermCharEnabled()); }, {}, false},
    {VI_ATTR_INTF_TYPE, [](const MessageSession& s) { return Number(static_cast<unsigned>(s.Interface())); }, {},
     false},
    {VI_ATTR_ASRL_BAUD, nullptr, SerialAttribute::BaudRate, true},
    {VI_ATTR_ASRL_DATA_BITS, nullptr, SerialAttribute::DataBits, true},
    {VI_ATTR_ASRL_PARITY, nullptr, SerialAttribute::Parity, true},
    {VI_ATTR_ASRL_STOP_BITS, nullptr, SerialAttribute::StopBits, true},
    {VI_ATTR_ASRL_FLOW_CNTRL, nullptr, SerialAttribute::FlowControl, true},
    {VI_ATTR_ASRL_END_IN, nullptr, SerialAttribute::EndIn, true},
    {VI_ATTR_ASRL_END_OUT, nullptr, SerialAttribute::EndOut, true},
};

}  // namespace

ViStatus ReadSessionAttribute(const MessageSession& session, ViAttr id, AttributeValue* value) {
    for (const AttributeRow& row : kAttributes) {
        if (row.id != id) continue;
        if (!row.isSerial) {
            *value = row.read(session);
            return VI_SUCCESS;
        }
        ViUInt32 number = 0;
        const ViStatus status = session.GetSerialAttribute(row.serial, &number);
        if (Failed(status)) return status;
        *value = Number(number);
        return VI_SUCCESS;
    }
    return VI_ERROR_NSUP_ATTR;
}

}  // namespace zpv::visa
