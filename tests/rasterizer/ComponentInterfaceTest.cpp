// The component as a host first meets it: entry, interfaces, properties, ports, lifetime.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LoadedComponent.h"
#include "framework/InterfaceIds.h"
#include "framework/MessageCodes.h"

namespace {

using QuillTest::LoadedComponent;

std::string stringProperty(Orb::ComponentInterface* component, const char* key) {
  Orb::PropertyValue value;
  EXPECT_TRUE(component->getProperty(key, &value)) << key;
  EXPECT_EQ(value.tag, Orb::ValueString) << key;
  return value.payload.string ? value.payload.string->c_str() : "<null>";
}

std::uint32_t formatCode(Orb::ComponentInterface* component, const char* key) {
  Orb::PropertyValue value;
  value.tag = Orb::ValueUInt32;
  EXPECT_TRUE(component->getProperty(key, &value)) << key;
  EXPECT_EQ(value.tag, Orb::ValueUInt32);
  return value.payload.uint32;
}

TEST(ComponentInterface, DescribesItselfWithItsProperties) {
  LoadedComponent loaded;
  ASSERT_NE(loaded.plugin, nullptr);
  std::vector<const char*> names;
  ASSERT_TRUE(loaded.component->getPropertyNames(&names));
  ASSERT_EQ(names.size(), 4u);
  EXPECT_STREQ(names[0], "InputFormat");
  EXPECT_STREQ(names[1], "Name");
  EXPECT_STREQ(names[2], "OutputFormat");
  EXPECT_STREQ(names[3], "Type");

  Orb::PropertyValue name;
  ASSERT_TRUE(loaded.component->getProperty("Name", &name));
  ASSERT_EQ(name.tag, Orb::ValueWideString);
  const std::u16string expected = u"Text Subtitle Decoder";
  ASSERT_EQ(name.payload.wideString->length(), expected.size());
  EXPECT_EQ(std::memcmp(name.payload.wideString->c_str(), expected.data(), expected.size() * 2), 0);
  EXPECT_EQ(stringProperty(loaded.component, "Type"), "Overlay|Decoder|TEXT");
  EXPECT_EQ(stringProperty(loaded.component, "InputFormat"), "");
  EXPECT_EQ(stringProperty(loaded.component, "OutputFormat"), "");
  Orb::PropertyValue missing;
  EXPECT_FALSE(loaded.component->getProperty("name", &missing));
}

TEST(ComponentInterface, AnswersOnlyItsOwnInterfaces) {
  LoadedComponent loaded;
  ASSERT_NE(loaded.plugin, nullptr);
  void* part = &loaded;
  EXPECT_EQ(loaded.plugin->queryInterface(Orb::SimpleString<char>(Orb::ID_COMPONENT_TRANSFORM), &part),
            Orb::QUERY_INTERFACE_OK);
  EXPECT_NE(part, nullptr);
  for (const char* id : {Orb::ID_INTERFACE_INPUT, Orb::ID_COMPONENT_OUTPUT,
                         "com.omra.streamengine.interface.component ",
                         "COM.OMRA.STREAMENGINE.INTERFACE.COMPONENT", ""}) {
    part = &loaded;
    EXPECT_EQ(loaded.plugin->queryInterface(Orb::SimpleString<char>(id), &part),
              Orb::QUERY_INTERFACE_UNKNOWN)
        << id;
    EXPECT_EQ(part, nullptr) << id;
  }
}

TEST(ComponentInterface, PortsNegotiateTheirFormats) {
  LoadedComponent loaded;
  ASSERT_NE(loaded.plugin, nullptr);
  Orb::TransformInterface* transform = loaded.transform;
  EXPECT_EQ(transform->createInputPort(2, "UTF8", nullptr), nullptr);
  EXPECT_EQ(transform->createInputPort(Orb::PORT_KIND_STREAM, nullptr, nullptr), nullptr);
  EXPECT_EQ(transform->createInputPort(Orb::PORT_KIND_STREAM, "utf8", nullptr), nullptr);
  EXPECT_EQ(transform->createInputPort(Orb::PORT_KIND_STREAM, "UTF", nullptr), nullptr);
  Orb::PortInterface* input = transform->createInputPort(Orb::PORT_KIND_STREAM, "UTF8-with-more", nullptr);
  ASSERT_NE(input, nullptr);
  EXPECT_EQ(transform->createInputPort(Orb::PORT_KIND_STREAM, "WSTR", nullptr), nullptr);
  EXPECT_EQ(formatCode(loaded.component, "InputFormat"), 0x38465455u);

  EXPECT_EQ(transform->createOutputPort(Orb::PORT_KIND_STREAM, "RGBA ", nullptr), nullptr);
  EXPECT_EQ(transform->createOutputPort(Orb::PORT_KIND_STREAM, "rgba", nullptr), nullptr);
  EXPECT_EQ(transform->createOutputPort(0, "RGBA", nullptr), nullptr);
  Orb::PortInterface* output = transform->createOutputPort(Orb::PORT_KIND_STREAM, "BGRA", nullptr);
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(transform->createOutputPort(Orb::PORT_KIND_STREAM, "ARGB", nullptr), nullptr);
  EXPECT_EQ(stringProperty(loaded.component, "OutputFormat"), "BGRA");
  EXPECT_EQ(formatCode(loaded.component, "OutputFormat"), 0x41524742u);

  EXPECT_FALSE(transform->releaseInputPort(output));
  EXPECT_FALSE(transform->releaseOutputPort(input));
  EXPECT_TRUE(transform->releaseOutputPort(output));
  EXPECT_FALSE(transform->releaseOutputPort(output));
  EXPECT_EQ(stringProperty(loaded.component, "OutputFormat"), "");
  ASSERT_NE(transform->createOutputPort(Orb::PORT_KIND_STREAM, "ABGR", nullptr), nullptr);
  EXPECT_EQ(stringProperty(loaded.component, "OutputFormat"), "ABGR");
  EXPECT_TRUE(transform->releaseInputPort(input));
  EXPECT_EQ(stringProperty(loaded.component, "InputFormat"), "");
}

TEST(ComponentInterface, IsNotReadyBeforeItHasARenderer) {
  LoadedComponent loaded;
  ASSERT_NE(loaded.plugin, nullptr);
  Orb::PortInterface* input = loaded.transform->createInputPort(Orb::PORT_KIND_STREAM, "UTF8", nullptr);
  Orb::PortInterface* output = loaded.transform->createOutputPort(Orb::PORT_KIND_STREAM, "RGBA", nullptr);
  EXPECT_FALSE(input->query(Orb::QUERY_READY, nullptr));
  EXPECT_FALSE(output->query(Orb::QUERY_READY, nullptr));
  EXPECT_TRUE(output->query(0x1234, nullptr));
  EXPECT_FALSE(loaded.component->attach(nullptr));

  ASSERT_TRUE(loaded.component->attach(&loaded.settings));
  EXPECT_EQ(loaded.settings.consumerCount(), 1u);
  EXPECT_TRUE(input->query(Orb::QUERY_READY, nullptr));
  EXPECT_TRUE(output->query(Orb::QUERY_READY, nullptr));
  EXPECT_TRUE(loaded.component->detach());
  EXPECT_EQ(loaded.settings.consumerCount(), 0u);
  EXPECT_TRUE(output->query(Orb::QUERY_READY, nullptr)) << "the renderer stays after detach";

  EXPECT_TRUE(output->control(Orb::CONTROL_DISCONNECT, nullptr));
  EXPECT_FALSE(input->query(Orb::QUERY_READY, nullptr));
}

TEST(ComponentInterface, ConnectingBeforeAttachUsesTheDefaults) {
  // No provider is stored yet: nothing may be read through it, and the component still
  // comes up with its default style.
  LoadedComponent loaded;
  loaded.wire("UTF8", "RGBA", /*attach=*/false);
  EXPECT_TRUE(loaded.output->query(Orb::QUERY_READY, nullptr));
  loaded.deliverText("Hello");
  EXPECT_EQ(loaded.downstream.images().size(), 1u);
}

TEST(ComponentInterface, LastReleaseDestroysItBetweenTheHostsNotices) {
  LoadedComponent loaded;
  ASSERT_NE(loaded.plugin, nullptr);
  Orb::Plugin* identity = loaded.plugin;
  loaded.wire();
  Host::SampleBuffer& retained = loaded.deliverText("kept");
  ASSERT_TRUE(loaded.component->detach());

  EXPECT_EQ(loaded.plugin->retain(), 2);
  EXPECT_EQ(loaded.release(), 1);
  EXPECT_TRUE(loaded.host.events().empty());
  EXPECT_EQ(retained.releaseCount(), 0);
  EXPECT_EQ(loaded.release(), 0);
  EXPECT_EQ(retained.releaseCount(), 1) << "destruction gives the retained sample back";
  using Notice = Host::RecordingHost::Notice;
  const std::vector<Host::RecordingHost::Event> expected = {{Notice::BeforeDestroyed, identity},
                                                            {Notice::AfterDestroyed, identity}};
  EXPECT_EQ(loaded.host.events(), expected);
}

}  // namespace
