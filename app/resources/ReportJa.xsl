<?xml version="1.0" encoding="UTF-8"?>
<!-- Renders a rename report (root "files", one "file" or "folder" element per
     attempted entry) as a table: old name, new name, folder, outcome.
     Failed entries stand out in colour and are counted at the top. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes"
              doctype-system="about:legacy-compat"/>

  <xsl:template match="/">
    <html lang="ja">
      <head>
        <meta charset="UTF-8"/>
        <title>名前の変更レポート <xsl:value-of select="files/@date"/></title>
        <style>
          body { font-family: sans-serif; margin: 1.5em; color: #222; }
          h1 { font-size: 1.3em; margin-bottom: 0.2em; }
          p.summary { margin-top: 0; }
          p.summary .bad { color: #b00020; font-weight: bold; }
          table { border-collapse: collapse; width: 100%; }
          th, td { border: 1px solid #ccc; padding: 0.3em 0.5em; text-align: left; vertical-align: top; }
          th { background: #eef1f5; }
          td.name { font-family: monospace; white-space: pre-wrap; word-break: break-all; }
          td.folder { font-family: monospace; color: #555; word-break: break-all; }
          tr.ok td.outcome { color: #1b6e20; }
          tr.failed td { background: #fde8ea; }
          tr.failed td.outcome { color: #b00020; font-weight: bold; }
        </style>
      </head>
      <body>
        <h1>名前の変更レポート</h1>
        <p class="summary">
          日時：<xsl:value-of select="files/@date"/>　／　件数：<xsl:value-of select="count(files/file | files/folder)"/>　／　変更済み：<xsl:value-of select="count((files/file | files/folder)[translate(@renamed, 'YES', 'yes') = 'yes' and not(@error)])"/>　／　<xsl:variable name="failures" select="count((files/file | files/folder)[@error])"/>
          <span>
            <xsl:if test="$failures &gt; 0"><xsl:attribute name="class">bad</xsl:attribute></xsl:if>
            <xsl:text>失敗：</xsl:text><xsl:value-of select="$failures"/>
          </span>
        </p>
        <table>
          <thead>
            <tr>
              <th>#</th><th>種類</th><th>変更前の名前</th><th>変更後の名前</th><th>フォルダ</th><th>結果</th>
            </tr>
          </thead>
          <tbody>
            <xsl:apply-templates select="files/file | files/folder"/>
          </tbody>
        </table>
      </body>
    </html>
  </xsl:template>

  <xsl:template match="file | folder">
    <tr>
      <xsl:attribute name="class">
        <xsl:choose>
          <xsl:when test="@error">failed</xsl:when>
          <xsl:otherwise>ok</xsl:otherwise>
        </xsl:choose>
      </xsl:attribute>
      <td><xsl:value-of select="position()"/></td>
      <td>
        <xsl:choose>
          <xsl:when test="local-name() = 'folder'">フォルダ</xsl:when>
          <xsl:otherwise>ファイル</xsl:otherwise>
        </xsl:choose>
      </td>
      <td class="name"><xsl:value-of select="@name"/></td>
      <td class="name"><xsl:value-of select="@newName"/></td>
      <td class="folder"><xsl:value-of select="@folder"/></td>
      <td class="outcome">
        <xsl:choose>
          <xsl:when test="@error"><xsl:value-of select="@error"/></xsl:when>
          <xsl:when test="translate(@renamed, 'YES', 'yes') = 'yes'">変更済み</xsl:when>
          <xsl:otherwise>未変更</xsl:otherwise>
        </xsl:choose>
      </td>
    </tr>
  </xsl:template>
</xsl:stylesheet>
