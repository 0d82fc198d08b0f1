// Saving any dataset as a persisted-recordset XML document.
#include "dataaccess/Connection.h"
#include "dataaccess/Dataset.h"
#include "dataaccess/Errors.h"
#include "dataaccess/RecordsetXml.h"
#include "support/Files.h"
#include "support/TestDatabase.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <mysql.h>

namespace {

class RecordsetXmlTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        configure(connection);
    }
    QByteArray document(const QString& statement)
    {
        Dataset data(connection, "SQL");
        data.setStatement(statement);
        data.open();
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        EXPECT_TRUE(RecordsetXml::write(data, RecordsetXml::describeColumns(data), buffer));
        return buffer.data();
    }
    // The lines of the document, each without its line feed.
    static QList<QByteArray> lines(const QByteArray& xml) { return xml.split('\n'); }

    Connection connection;
};

// One column of every kind the format knows, and every column type of the schema.
const char* const KindsTable =
    "CREATE TABLE KINDS ("
    " ID INT NOT NULL AUTO_INCREMENT PRIMARY KEY,"
    " T_I1 TINYINT, T_U1 TINYINT UNSIGNED, T_I2 SMALLINT NOT NULL DEFAULT 0,"
    " T_U2 SMALLINT UNSIGNED, T_U4 INT UNSIGNED, T_I8 BIGINT, T_U8 BIGINT UNSIGNED,"
    " T_R4 FLOAT(5,2), T_FLOAT DOUBLE, T_DEC DECIMAL(10,2),"
    " T_DATE DATE, T_TIME TIME, T_DATETIME DATETIME, T_TS TIMESTAMP NULL,"
    " T_BOOL BIT(1), T_BITS BIT(12), T_BIN VARBINARY(8), T_FIXBIN BINARY(3), T_BLOB BLOB,"
    " T_GUID UUID, T_CHAR CHAR(4), T_VARCHAR VARCHAR(20) NOT NULL DEFAULT '', T_TEXT TEXT)";

TEST_F(RecordsetXmlTest, SchemaDescribesEveryKindOfColumn)
{
    sql(KindsTable);
    sql("INSERT INTO KINDS VALUES (NULL, -5, 200, -300, 65000, 4000000000, -9000000000000000000,"
        " 18446744073709551615, 1.25, 2.5e10, -12.34, '2024-02-29', '-838:59:59',"
        " '2023-12-31 23:59:59', '2024-01-02 03:04:05', 1, b'101000000001', x'00ff10', 'ab',"
        " x'CAFE', '123e4567-e89b-12d3-a456-426614174000', 'ab', 'Zażółć', 'gęślą\njaźń')");
    sql("INSERT INTO KINDS (T_I2, T_BOOL) VALUES (7, 0)");
    const QByteArray xml = document("SELECT * FROM KINDS ORDER BY ID");

    const QList<QByteArray> expected = {
        "<xml xmlns:s='uuid:BDC6E3F0-6DA3-11d1-A2A3-00AA00C14882' xmlns:dt='uuid:C2F41010-65B3-11d1-A29F-00AA00C14882' xmlns:rs='urn:schemas-microsoft-com:rowset' xmlns:z='#RowsetSchema'>\r",
        "  <s:Schema id='RowsetSchema'>\r",
        "    <s:ElementType name='row' content='eltOnly' rs:updatable='true'>\r",
        "      <s:AttributeType name='ID' rs:number='1' rs:writeunknown='true' rs:basecolumn='ID' rs:keycolumn='true' rs:autoincrement='true' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='int' dt:maxLength='4' rs:precision='10' rs:fixedlength='true' rs:maybenull='false' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_I1' rs:number='2' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_I1' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='i1' dt:maxLength='1' rs:precision='4' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_U1' rs:number='3' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_U1' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='ui2' dt:maxLength='2' rs:precision='3' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_I2' rs:number='4' rs:writeunknown='true' rs:basecolumn='T_I2' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='i2' dt:maxLength='2' rs:precision='5' rs:fixedlength='true' rs:maybenull='false' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_U2' rs:number='5' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_U2' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='ui2' dt:maxLength='2' rs:precision='5' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_U4' rs:number='6' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_U4' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='ui4' dt:maxLength='4' rs:precision='10' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_I8' rs:number='7' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_I8' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='i8' dt:maxLength='8' rs:precision='19' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_U8' rs:number='8' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_U8' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='number' rs:dbtype='currency' dt:maxLength='19' rs:precision='20' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_R4' rs:number='9' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_R4' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='r4' dt:maxLength='4' rs:precision='5' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_FLOAT' rs:number='10' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_FLOAT' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='float' dt:maxLength='8' rs:precision='22' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_DEC' rs:number='11' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_DEC' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='number' rs:dbtype='currency' dt:maxLength='19' rs:precision='10' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_DATE' rs:number='12' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_DATE' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='date' dt:maxLength='6' rs:scale='0' rs:precision='10' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_TIME' rs:number='13' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_TIME' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='time' dt:maxLength='6' rs:scale='0' rs:precision='10' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_DATETIME' rs:number='14' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_DATETIME' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='datetime' rs:dbtype='variantdate' dt:maxLength='16' rs:scale='0' rs:precision='19' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_TS' rs:number='15' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_TS' rs:basetable='KINDS' rs:rowver='true'>\r",
        "        <s:datatype dt:type='datetime' rs:dbtype='variantdate' dt:maxLength='16' rs:scale='0' rs:precision='19' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_BOOL' rs:number='16' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_BOOL' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='boolean' dt:maxLength='2' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_BITS' rs:number='17' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_BITS' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='bin.hex' dt:maxLength='2' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_BIN' rs:number='18' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_BIN' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='bin.hex' dt:maxLength='8' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_FIXBIN' rs:number='19' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_FIXBIN' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='bin.hex' dt:maxLength='3' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_BLOB' rs:number='20' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_BLOB' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='bin.hex' dt:maxLength='2147483647' rs:long='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_GUID' rs:number='21' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_GUID' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='uuid' dt:maxLength='16' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_CHAR' rs:number='22' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_CHAR' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='string' dt:maxLength='4' rs:fixedlength='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_VARCHAR' rs:number='23' rs:writeunknown='true' rs:basecolumn='T_VARCHAR' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='string' dt:maxLength='20' rs:maybenull='false' />\r",
        "      </s:AttributeType>\r",
        "      <s:AttributeType name='T_TEXT' rs:number='24' rs:nullable='true' rs:writeunknown='true' rs:basecolumn='T_TEXT' rs:basetable='KINDS'>\r",
        "        <s:datatype dt:type='string' dt:maxLength='2147483647' rs:long='true' />\r",
        "      </s:AttributeType>\r",
        "      <s:extends type='rs:rowbase' />\r",
        "    </s:ElementType>\r",
        "  </s:Schema>\r",
        "  <rs:data>\r",
        "    <z:row ID='1' T_I1='-5' T_U1='200' T_I2='-300' T_U2='65000' T_U4='4000000000'"
        " T_I8='-9000000000000000000' T_U8='18446744073709551615' T_R4='1.25' T_FLOAT='25000000000'"
        " T_DEC='-12.34' T_DATE='2024-02-29T00:00:00' T_TIME='-838:59:59'"
        " T_DATETIME='2023-12-31T23:59:59' T_TS='2024-01-02T03:04:05' T_BOOL='True' T_BITS='0a01'"
        " T_BIN='00ff10' T_FIXBIN='616200' T_BLOB='cafe' T_GUID='123e4567-e89b-12d3-a456-426614174000'"
        " T_CHAR='ab' T_VARCHAR='Zażółć' T_TEXT='gęślą&#xa;jaźń' />\r",
        "    <z:row ID='2' T_I2='7' T_BOOL='False' T_VARCHAR='' />\r",
        "  </rs:data>\r",
        "</xml>",
    };
    QList<QByteArray> expectedLines;
    for (const QByteArray& line : expected)
        expectedLines += line.split('\n');
    const QList<QByteArray> actual = lines(xml);
    ASSERT_EQ(actual.size(), expectedLines.size()) << xml.constData();
    for (int i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i], expectedLines[i]) << "line " << i + 1;
}

TEST_F(RecordsetXmlTest, ExpressionsAndOddNamesAreReadOnlyAndRenamed)
{
    sql("INSERT INTO USERS (FIRST_NAME, NAME) VALUES ('Ann', 'A & B <\"x\">')");
    const QByteArray xml = document(
        "SELECT COUNT(*), NAME AS `nazwa osoby`, NAME, MAX(ID_USER) AS `1st`, NOW() + 0 AS Żółw "
        "FROM USERS GROUP BY NAME");
    // An expression is neither nullable nor writable and names no base column or table.
    EXPECT_TRUE(xml.contains(
        "<s:AttributeType name='c1' rs:name='COUNT(*)' rs:number='1'>\r\n"
        "        <s:datatype dt:type='i8' dt:maxLength='8' rs:precision='19' rs:fixedlength='true' rs:maybenull='false' />"))
        << xml.constData();
    EXPECT_TRUE(xml.contains("<s:AttributeType name='c2' rs:name='nazwa osoby' rs:number='2' "
                             "rs:nullable='true' rs:writeunknown='true' rs:basecolumn='NAME' "
                             "rs:basetable='USERS'>"));
    EXPECT_TRUE(xml.contains("<s:AttributeType name='NAME' rs:number='3' "));
    EXPECT_TRUE(xml.contains("<s:AttributeType name='c3' rs:name='1st' rs:number='4'"));
    EXPECT_TRUE(xml.contains(QStringLiteral("<s:AttributeType name='Żółw' rs:number='5'").toUtf8()));
    EXPECT_TRUE(xml.contains("<z:row c1='1' c2='A &#x26; B &#x3c;&#x22;x&#x22;&#x3e;' "
                             "NAME='A &#x26; B &#x3c;&#x22;x&#x22;&#x3e;' c3='1' "))
        << xml.constData();
}

TEST_F(RecordsetXmlTest, EmptyResultHasAnEmptyDataElement)
{
    const QByteArray xml = document("SELECT ID, NAME FROM TYP WHERE ID < 0");
    EXPECT_TRUE(xml.endsWith("  </s:Schema>\r\n  <rs:data />\r\n</xml>")) << xml.constData();
    EXPECT_FALSE(xml.contains("z:row"));
}

TEST_F(RecordsetXmlTest, TextInASingleByteCharacterSetIsMarkedAsSuch)
{
    ColumnInfo column;
    column.name = QStringLiteral("NAME");
    column.type = MYSQL_TYPE_VAR_STRING;
    column.length = 40;
    column.charset = 8;   // latin1
    column.charsetMaxBytes = 1;
    EXPECT_EQ(RecordsetXml::attributeType(column, 2, "NAME"),
              "\r\n      <s:AttributeType name='NAME' rs:number='2'>"
              "\r\n        <s:datatype dt:type='string' dt:maxLength='40' rs:dbtype='str' />"
              "\r\n      </s:AttributeType>");
    column.type = MYSQL_TYPE_BLOB;
    EXPECT_TRUE(RecordsetXml::attributeType(column, 2, "NAME")
                    .contains("dt:maxLength='2147483647' rs:dbtype='str' rs:long='true' />"));
}

TEST_F(RecordsetXmlTest, SavingReplacesTheFileWholeAndKeepsTheCurrentRow)
{
    QTemporaryDir dir;
    Dataset types(connection, "SQL");
    types.setStatement("SELECT ID, NAME FROM TYP ORDER BY ID");
    types.open();
    types.setRecordNo(3);

    const QString path = dir.filePath("typy.xml");
    ASSERT_TRUE(writeFile(path, QByteArray(100000, 'x')));
    types.saveAsXml(path);
    EXPECT_EQ(types.recordNo(), 3);
    ASSERT_TRUE(QFile::exists(path));
    const QByteArray xml = readFile(path);
    EXPECT_TRUE(xml.startsWith("<xml xmlns:s="));
    EXPECT_TRUE(xml.contains(QStringLiteral("<z:row ID='4' NAME='Wejście siłowe' />").toUtf8()));
    EXPECT_TRUE(xml.endsWith("</rs:data>\r\n</xml>"));

    // A folder that does not exist: the error names the file and the reason.
    const QString missing = dir.filePath("brak/typy.xml");
    try {
        types.saveAsXml(missing);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_TRUE(e.message().contains(missing)) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains("No such file or directory")) << e.message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(missing));
}

// Whatever a name or a value holds, the document is well-formed XML that another
// reader takes whole and reads back: characters XML forbids become U+FFFD, line
// breaks and tabs are character references, and every name is an XML name,
// unique among the columns.
TEST_F(RecordsetXmlTest, EveryDocumentIsWellFormedAndReadsBack)
{
    sql("CREATE TABLE ODD (ID INT PRIMARY KEY, V VARCHAR(40))");
    sql("INSERT INTO ODD VALUES (1, CONCAT('a', CHAR(11), 'b', CHAR(0), 'c', CHAR(27))), "
        "(2, 'x\\ty\\r\\nz'), (3, CONCAT('e', CHAR(0xEFBFBF USING utf8mb4), 'f'))");
    const QByteArray xml = document(QString::fromUtf8(
        "SELECT ID AS c1, V AS `a b`, V AS `ª`, V AS `x:y`, V AS `-1`, ID AS c2, ID AS `Ł_1` FROM ODD ORDER BY ID"));
    EXPECT_TRUE(xml.contains("<z:row c1='1' c3='a\xEF\xBF\xBD" "b\xEF\xBF\xBD" "c\xEF\xBF\xBD'")) << xml.constData();
    EXPECT_TRUE(xml.contains("c3='x&#x9;y&#xd;&#xa;z'")) << xml.constData();

    QXmlStreamReader reader(xml);
    QStringList names, renamed, values;
    while (reader.readNext() != QXmlStreamReader::EndDocument && !reader.hasError()) {
        if (!reader.isStartElement())
            continue;
        if (reader.qualifiedName() == QLatin1String("s:AttributeType")) {
            names << reader.attributes().value("name").toString();
            renamed << reader.attributes().value("rs:name").toString();
        } else if (reader.qualifiedName() == QLatin1String("z:row")) {
            values << reader.attributes().value("c3").toString();
        }
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString() << "\n" << xml.constData();
    // A replacement never takes a name the result already has.
    EXPECT_EQ(names, QStringList({"c1", "c3", "c4", "c5", "c6", "c2", QString::fromUtf8("Ł_1")}));
    EXPECT_EQ(renamed, QStringList({"", "a b", QString::fromUtf8("ª"), "x:y", "-1", "", ""}));
    EXPECT_EQ(values, QStringList({QString::fromUtf8("a\uFFFDb\uFFFDc\uFFFD"), "x\ty\r\nz",
                                   QString::fromUtf8("e\uFFFDf")}));
}

TEST(RecordsetXmlNames, PlainNamesAreXmlNamesAndTheExportsNamesStay)
{
    for (const char* name : {"TIME", "FIRST_NAME", "NAME", "NAME_1", "NAME_2", "SERIAL", "CANAL", "HEAD", "ID",
                             "_x", "Żółw", "Ωmega"})
        EXPECT_TRUE(RecordsetXml::isPlainName(QString::fromUtf8(name))) << name;
    for (const char* name : {"", "1st", "a b", "a-b", "a.b", "a:b", "ª", "µs", "a\x0b", "x\xc2\xb2"})
        EXPECT_FALSE(RecordsetXml::isPlainName(QString::fromUtf8(name))) << name;
}

}  // namespace
